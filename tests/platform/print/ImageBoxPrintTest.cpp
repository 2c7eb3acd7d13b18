#include "core/AppError.h"
#include "platform/imagebox/ImageBox.h"
#include "platform/print/PrintBackend.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using namespace picbasket;

namespace {

// A printer that records jobs and pages; its "dialog" answers as told and changes
// the settings as a user would.
class RecordingBackend : public PrintBackend {
public:
    bool beginJob(PrintSettings& settings, bool showDialog) override {
        dialogs += showDialog ? 1 : 0;
        seen = settings;
        if (showDialog && !accept)
            return false;
        if (showDialog)
            settings.P8A = 3;
        open = true;
        jobs.push_back({});
        return true;
    }
    bool jobOpen() const override { return open; }
    void printPage(const QImage& image, const PrintSettings&) override {
        jobs.back().push_back(image.width());
    }
    void endJob() override { open = false; }

    bool accept = true;
    bool open = false;
    int dialogs = 0;
    PrintSettings seen;
    std::vector<std::vector<int>> jobs; // page widths per job
};

class ImageBoxPrint : public ::testing::Test {
protected:
    void SetUp() override { previous = setPrintBackend(&backend); }
    void TearDown() override { setPrintBackend(previous); }

    static QImage picture(int width) {
        QImage image(width, 10, QImage::Format_RGB888);
        image.fill(Qt::red);
        return image;
    }

    RecordingBackend backend;
    PrintBackend* previous = nullptr;
    ImageBox box;
};

} // namespace

TEST_F(ImageBoxPrint, DialogStartsTheJobAndLaterPagesJoinIt) {
    box.setImage(picture(10));
    box.setPrintProperty8A(1);
    ASSERT_EQ(box.PrintImage(), 1);
    EXPECT_EQ(box.PrintProperty8A(), 3) << "the dialog's choice comes back";
    box.setPrintProperty89(false);
    box.setImage(picture(20));
    EXPECT_EQ(box.PrintImage(), 1);
    box.setImage(picture(30));
    EXPECT_EQ(box.PrintImage(), 1);
    box.EndPrintJob();
    EXPECT_FALSE(backend.open);
    EXPECT_EQ(backend.dialogs, 1);
    ASSERT_EQ(backend.jobs.size(), 1u);
    EXPECT_EQ(backend.jobs[0], (std::vector<int>{10, 20, 30}));
}

TEST_F(ImageBoxPrint, CancelledDialogPrintsNothingAndKeepsTheSettings) {
    backend.accept = false;
    box.setImage(picture(10));
    box.setPrintProperty8B(55);
    EXPECT_EQ(box.PrintImage(), 0);
    EXPECT_TRUE(backend.jobs.empty());
    EXPECT_EQ(box.PrintProperty8A(), 1);
    EXPECT_EQ(backend.seen.P8B, 55) << "the dialog starts from the box's settings";
}

TEST_F(ImageBoxPrint, WithoutDialogAndNoJobOpenAJobStartsSilently) {
    box.setImage(picture(10));
    box.setPrintProperty89(false);
    EXPECT_EQ(box.PrintImage(), 1);
    EXPECT_EQ(backend.dialogs, 0);
    EXPECT_EQ(backend.jobs.size(), 1u);
}

TEST_F(ImageBoxPrint, EmptyBoxOrNoPrinterRaise) {
    EXPECT_THROW(box.PrintImage(), AppError);
    box.setImage(picture(10));
    setPrintBackend(nullptr);
    EXPECT_THROW(box.PrintImage(), AppError);
}

TEST_F(ImageBoxPrint, SettersRefuseValuesOutsideTheSettings) {
    EXPECT_THROW(box.setPrintProperty84(2), AppError);
    EXPECT_THROW(box.setPrintProperty85(-1), AppError);
    EXPECT_THROW(box.setPrintProperty86(std::nan("")), AppError);
    EXPECT_THROW(box.setPrintProperty87(-2), AppError);
    EXPECT_THROW(box.setPrintProperty88(3), AppError);
    EXPECT_THROW(box.setPrintProperty8A(0), AppError);
    EXPECT_THROW(box.setPrintProperty8B(0), AppError);
    EXPECT_THROW(box.setPrintProperty11B(2), AppError);
    box.setPrintProperty87(-1);
    box.setPrintProperty87(0);
    const PrintSettings defaults;
    EXPECT_EQ(box.PrintProperty84(), defaults.P84);
    EXPECT_EQ(box.PrintProperty8A(), defaults.P8A);
    EXPECT_EQ(box.PrintProperty8B(), defaults.P8B);
}
