// The split of a TIFF of many pages: progress in the wait dialog, Cancel honoured
// after the page it came on, the rows added so far kept.
#include "browser/BasketAdder.h"
#include "core/Globals.h"
#include "engine/batch/BasketRows.h"
#include "engine/batch/ProgressIndicator.h"
#include "tests/common/ManyPageTiff.h"
#include "tests/common/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <tiffio.h>

using namespace picbasket;
using namespace picbasket::test;

namespace {

// The wait dialog as the adder drives it.
class RecordedWait : public WaitIndicator, public ProgressIndicator {
public:
    void showWaiting() override { ++shown; }
    ProgressIndicator& progress() override { return *this; }
    void closeWaiting() override { ++closed; }
    void setMaximum(int maximum) override { this->maximum = maximum; }
    void setValue(int value) override {
        last = value;
        // The user presses Cancel while page 5 is shown.
        if (value == cancelAt)
            CancelOperation = true;
    }
    void setVisible(bool) override {}

    int shown = 0, closed = 0, maximum = 0, last = 0, cancelAt = -1;
};

struct SplitRun {
    TempAppFolder temp;
    BasketAdder adder;
    RecordedWait wait;
    std::vector<BasketRow> rows;

    SplitRun() {
        const QString pages = temp.file("pages");
        QDir().mkpath(pages);
        adder.pageFiles.setFolder(pages);
        adder.addRow = [this](const BasketRow& row, const QImage&) {
            rows.push_back(row);
            return int(rows.size());
        };
        adder.waitDialog = [this]() -> WaitIndicator* { return &wait; };
    }

    bool add(const QString& path, int pages) {
        BasketSource source;
        source.row.text = QFileInfo(path).fileName();
        source.row.tag = path;
        source.row.subItems = {QString(), "1 KB", QString::number(pages), "TIFF Image"};
        source.position = 1;
        return adder.add({source, source}, 2, BasketAdder::Mode::Command);
    }
};

} // namespace

TEST(BasketAdderSplit, CancelStopsTheSplitAfterThePageItCameOn) {
    SplitRun run;
    const QString path = run.temp.file("many.tif");
    ASSERT_TRUE(writeOnePixelPages(path, 400));
    run.wait.cancelAt = 5;
    CancelOperation = false;
    ASSERT_TRUE(run.add(path, 400));
    EXPECT_EQ(run.rows.size(), 5u) << "the pages up to the Cancel stay, no later page is added";
    EXPECT_TRUE(run.adder.wasCancelled());
    EXPECT_FALSE(CancelOperation) << "the flag is cleared for the next operation";
    EXPECT_EQ(run.wait.shown, 1);
    EXPECT_EQ(run.wait.closed, 1);
    EXPECT_EQ(run.wait.maximum, 400);
    EXPECT_EQ(QDir(run.temp.file("pages")).entryList(QDir::Files).size(), 5)
        << "no page file is left behind for a page not added";
}

TEST(BasketAdderSplit, EveryPageOfAManyPageFileComesInOrder) {
    SplitRun run;
    const QString path = run.temp.file("many.tif");
    ASSERT_TRUE(writeOnePixelPages(path, 300));
    CancelOperation = false;
    BasketSource source;
    source.row.text = "many.tif";
    source.row.tag = path;
    source.row.subItems = {QString(), "1 KB", "300", "TIFF Image"};
    ASSERT_TRUE(run.adder.add({source}, 1, BasketAdder::Mode::Command));
    ASSERT_EQ(run.rows.size(), 300u);
    EXPECT_FALSE(run.adder.wasCancelled());
    EXPECT_EQ(run.wait.last, 300);
    for (int page : {1, 2, 150, 300}) {
        const BasketRow& row = run.rows[size_t(page - 1)];
        EXPECT_EQ(row.Text, QStringLiteral("many%1").arg(page));
        TIFF* tif = TIFFOpen(row.Tag.toLocal8Bit().constData(), "r");
        ASSERT_NE(tif, nullptr);
        uint8_t grey = 0;
        ASSERT_EQ(TIFFReadScanline(tif, &grey, 0, 0), 1);
        EXPECT_EQ(grey, uint8_t(page - 1)) << "page " << page << " holds its own pixel";
        TIFFClose(tif);
    }
}
