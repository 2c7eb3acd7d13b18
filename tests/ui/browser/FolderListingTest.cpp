#include "browser/FolderListing.h"
#include "browser/FileListBox.h"
#include "core/fileinfo/clsFileInfo.h"
#include "platform/imagebox/ImageBox.h"
#include "tests/common/TestSupport.h"
#include "tests/ui/browser/FolderFixture.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <map>

using namespace picbasket;
using namespace picbasket::test;

namespace {

// A listing job over the mixed folder, collecting its rows.
class FolderListingTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = temp.file("mixed");
        writeMixedFolder(folder);
        QObject::connect(&job, &FolderListing::RowReady,
                         [this](const FolderRow& row) { rows.push_back(row); });
    }

    QStringList names(const QString& of) const {
        FileListBox box;
        box.Pattern = folderPattern();
        box.Path = of;
        box.Refresh();
        return box.names();
    }

    // Lists the folder and waits for the end; true when it ended.
    bool list(bool details, const QString& which = {}) {
        const QString target = which.isEmpty() ? folder : which;
        QSignalSpy finished(&job, &FolderListing::Finished);
        job.start(target, names(target), options(details));
        return finished.wait(20000);
    }

    static FolderListing::Options options(bool details) {
        FolderListing::Options o;
        o.details = details;
        o.thumbnailWidth = 40;
        o.thumbnailHeight = 30;
        return o;
    }

    std::map<QString, FolderRow> byName() const {
        std::map<QString, FolderRow> out;
        for (const FolderRow& row : rows)
            out[row.text] = row;
        return out;
    }

    // Width and height as Qt's own decoder reads them.
    QString qtSize(const QString& name, const char* between) const {
        const QSize size = QImageReader(QDir(folder).filePath(name)).size();
        return QStringLiteral("%1%2%3")
            .arg(size.width())
            .arg(QLatin1String(between))
            .arg(size.height());
    }

    TempAppFolder temp;
    ErrorRecorder errors;
    QString folder;
    ImageBox box;
    FolderListing job{box};
    std::vector<FolderRow> rows;
};

} // namespace

TEST_F(FolderListingTest, ThumbnailViewRows) {
    ASSERT_TRUE(list(false));
    QStringList texts;
    for (const FolderRow& row : rows)
        texts << row.text;
    // The damaged TIFF cannot be decoded and gets no row.
    EXPECT_EQ(texts, QStringList({"a.jpg", "B.JPG", "c.tiff", "e.bmp", "x.pcx"}));
    auto rowOf = byName();
    const std::pair<const char*, const char*> pages[] = {
        {"a.jpg", "1"}, {"B.JPG", "1"}, {"c.tiff", "3"}, {"e.bmp", "1"}, {"x.pcx", "1"}};
    for (const auto& [name, count] : pages) {
        const FolderRow& row = rowOf[name];
        EXPECT_EQ(row.subItems[2], count) << name;
        EXPECT_EQ(row.thumbnail.size(), QSize(40, 30)) << name;
        EXPECT_EQ(row.tag, QDir(folder).filePath(name)) << name;
    }
    for (const char* name : {"a.jpg", "B.JPG", "c.tiff", "e.bmp"})
        EXPECT_EQ(rowOf[name].subItems[0], qtSize(name, " x ")) << name;
    EXPECT_EQ(rowOf["x.pcx"].subItems[0], "16 x 12");
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(FolderListingTest, DetailsViewRows) {
    ASSERT_TRUE(list(true));
    QStringList texts;
    for (const FolderRow& row : rows) {
        texts << row.text;
        EXPECT_TRUE(row.thumbnail.isNull()) << row.text.toStdString();
    }
    EXPECT_EQ(texts, QStringList({"a.jpg", "B.JPG", "c.tiff", "d.tif", "e.bmp", "x.pcx"}));
    auto rowOf = byName();
    EXPECT_EQ(rowOf["a.jpg"].subItems[0], qtSize("a.jpg", " X ") + " X 24");
    EXPECT_EQ(rowOf["B.JPG"].subItems[0], qtSize("B.JPG", " X ") + " X 24");
    EXPECT_EQ(rowOf["c.tiff"].subItems[0], qtSize("c.tiff", " X ") + " X 24");
    EXPECT_EQ(rowOf["e.bmp"].subItems[0], qtSize("e.bmp", " X ") + " X 24");
    // Damaged, and a type the header reader does not know.
    EXPECT_EQ(rowOf["d.tif"].subItems[0], QString());
    EXPECT_EQ(rowOf["x.pcx"].subItems[0], QString());
    EXPECT_EQ(rowOf["c.tiff"].subItems[2], "3");
    EXPECT_EQ(rowOf["d.tif"].subItems[2], "1");
    clsFileInfo info;
    info.setFilePath(QDir(folder).filePath("B.JPG"));
    const FolderRow& b = rowOf["B.JPG"];
    EXPECT_EQ(b.subItems[1], info.fSizeFormated(0));
    EXPECT_EQ(b.subItems[3], info.fType());
    EXPECT_EQ(b.subItems[5], info.fDateModified());
    EXPECT_FALSE(b.subItems[5].isEmpty());
    EXPECT_TRUE(errors.reports().empty());
}

// Files that go away after the folder was read: details view keeps the row with an
// empty resolution and goes on; thumbnail view leaves them out.
TEST_F(FolderListingTest, FilesDeletedDuringTheListing) {
    for (const bool details : {true, false}) {
        rows.clear();
        writeMixedFolder(folder);
        QMetaObject::Connection deleter =
            QObject::connect(&job, &FolderListing::RowReady, [this](const FolderRow& row) {
                if (row.text == "a.jpg") {
                    QFile::remove(QDir(folder).filePath("e.bmp"));
                    QFile::remove(QDir(folder).filePath("c.tiff"));
                }
            });
        ASSERT_TRUE(list(details));
        QObject::disconnect(deleter);
        auto rowOf = byName();
        EXPECT_EQ(rowOf.count("x.pcx"), 1u) << "the listing went on to the end";
        EXPECT_EQ(rowOf.count("e.bmp"), details ? 1u : 0u);
        EXPECT_EQ(rowOf.count("c.tiff"), details ? 1u : 0u);
        if (details) {
            EXPECT_EQ(rowOf["e.bmp"].subItems[0], QString());
            EXPECT_EQ(rowOf["c.tiff"].subItems[0], QString());
            EXPECT_EQ(rowOf["e.bmp"].tag, QDir(folder).filePath("e.bmp"));
        }
        EXPECT_TRUE(errors.reports().empty()) << details;
    }
}

TEST_F(FolderListingTest, NewStartDropsTheOlderListing) {
    const QString other = temp.file("other");
    QDir().mkpath(other);
    for (const char* name : {"p.jpg", "q.jpg"})
        splitPicture(10, 10, Qt::red, Qt::blue).save(QDir(other).filePath(name), "JPEG");
    QSignalSpy finished(&job, &FolderListing::Finished);
    // A newer start after the first row of the older one.
    QMetaObject::Connection restart =
        QObject::connect(&job, &FolderListing::RowReady, [&](const FolderRow&) {
            QObject::disconnect(restart);
            job.start(other, names(other), options(false));
        });
    job.start(folder, names(folder), options(false));
    ASSERT_TRUE(finished.wait(20000));
    QStringList texts;
    for (const FolderRow& row : rows)
        texts << row.text;
    EXPECT_EQ(texts, QStringList({"a.jpg", "p.jpg", "q.jpg"}));
    QTest::qWait(50);
    EXPECT_EQ(finished.count(), 1) << "the dropped listing never reports an end";
    EXPECT_EQ(finished.at(0).at(0).toBool(), false);
}

TEST_F(FolderListingTest, AbortTestStopsBeforeTheNextFile) {
    job.abortRequested = [this] { return rows.size() >= 2; };
    QSignalSpy progress(&job, &FolderListing::Progress);
    QSignalSpy finished(&job, &FolderListing::Finished);
    job.start(folder, names(folder), options(true));
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_EQ(rows.size(), 2u);
    EXPECT_EQ(progress.count(), 2);
    EXPECT_TRUE(finished.at(0).at(0).toBool());
    EXPECT_FALSE(job.isRunning());
}

TEST_F(FolderListingTest, StopDropsTheListingSilently) {
    QSignalSpy finished(&job, &FolderListing::Finished);
    job.start(folder, names(folder), options(true));
    job.stop();
    QTest::qWait(50);
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(finished.count(), 0);
}
