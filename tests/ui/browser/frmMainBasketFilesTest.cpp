#include "browser/BasketAdder.h"
#include "browser/FolderListing.h"
#include "browser/modSaveOpenImageList.h"
#include "core/AppPaths.h"
#include "core/Globals.h"
#include "core/setup/modSetup.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/ProgressBar.h"
#include "tests/ui/browser/BasketFixture.h"
#include "tests/ui/browser/FolderFixture.h"
#include "tests/ui/mainwindow/MainWindowFixture.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace picbasket;
using picbasket::test::MainWindowTest;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The main window listing a folder with a.jpg, b.png, x.pcx and the three-page scan.tif,
// all of them added to the basket by the add command.
class BasketFilesWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        files = folder.file("files");
        QDir().mkpath(files);
        test::splitPicture(64, 48, Qt::red, Qt::blue).save(path("a.jpg"), "JPEG");
        test::splitPicture(20, 30, Qt::green, Qt::white).save(path("b.png"), "PNG");
        ASSERT_TRUE(test::writeScanTiff(path("scan.tif")));
        ImageBox box;
        box.setImage(test::splitPicture(16, 12, Qt::gray, Qt::white));
        box.SaveToFile(path("x.pcx"));
        picbasket::Setup.LastFolder = files;
        writeSetupFile();
        w = &start();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return w->folderPane().currentFolder() == files &&
                       !w->folderPane().listingTimer()->isActive() &&
                       !w->folderPane().listing()->isRunning() &&
                       w->folderPane().list()->Count() == 4;
            },
            20000));
        for (int r = 1; r <= w->folderPane().list()->Count(); ++r)
            w->folderPane().list()->setSelected(r, true);
        w->folderPane().addButton()->click();
    }

    QString path(const QString& name) const { return QDir(files).filePath(name); }

    QStringList basket() const {
        QStringList out;
        for (int r = 1; r <= w->basketPane().list()->Count(); ++r)
            out << w->basketPane().list()->Text(r);
        return out;
    }

    bool open(const QString& list) {
        return fncOpenImageBasket(list, *w->basketPane().list(), *w->basketPane().thumbnails(), *w->basketPane().adder(), *w->basketPane().bar());
    }

    QString files;
    frmMain* w = nullptr;
};

} // namespace

TEST_F(BasketFilesWindowTest, SavedBasketReopensAndSkipsADeletedSource) {
    const QStringList added = basket();
    ASSERT_EQ(added.size(), 6);
    EXPECT_TRUE(added.contains("scan1") && added.contains("scan3") && added.contains("a"));

    QString list = folder.file("my basket");
    ASSERT_TRUE(fncSaveImageBasket(list, *w->basketPane().list()));
    EXPECT_EQ(list, folder.file("my basket.ibf"));
    QStringList lines;
    for (int r = 1; r <= w->basketPane().list()->Count(); ++r)
        if (!lines.contains(w->basketPane().list()->SubItem(r, 4)))
            lines << w->basketPane().list()->SubItem(r, 4);
    QByteArray expected;
    for (const QString& source : lines)
        expected += "\"" + source.toUtf8() + "\"\r\n";
    EXPECT_EQ(bytesOf(list), expected);
    EXPECT_EQ(lines.size(), 4);

    // Cleared and opened again: the same rows named by their file names, new page
    // files, new thumbnails.
    const QString firstPage = w->basketPane().list()->Tag(added.indexOf("scan1") + 1);
    w->basketPane().list()->Clear();
    ASSERT_TRUE(open(list));
    QStringList reopened;
    for (const QString& name : {"a.jpg", "b.png", "x.pcx", "scan.tif1", "scan.tif2", "scan.tif3"})
        reopened << name;
    QStringList shown = basket();
    shown.sort();
    reopened.sort();
    EXPECT_EQ(shown, reopened);
    EXPECT_EQ(w->basketPane().thumbnails()->Count(), 6);
    const int scan1 = int(basket().indexOf("scan.tif1")) + 1;
    EXPECT_NE(w->basketPane().list()->Tag(scan1), firstPage);
    EXPECT_TRUE(w->basketPane().list()->Tag(scan1).startsWith(AppPaths::tempPageFolder()));
    EXPECT_TRUE(QFile::exists(w->basketPane().list()->Tag(scan1)));
    EXPECT_EQ(w->basketPane().list()->SubItem(scan1, 4), path("scan.tif"));
    EXPECT_FALSE(w->basketPane().bar()->isVisible());

    // A source deleted meanwhile is skipped and named after the open.
    const QStringList before = basket();
    ASSERT_TRUE(QFile::remove(path("b.png")));
    ASSERT_TRUE(open(list));
    QStringList withoutB = before;
    withoutB.removeAll("b.png");
    EXPECT_EQ(basket(), withoutB);
    EXPECT_TRUE(errors.reports().empty());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.contains(path("b.png") + ": The file no longer exists."));

    // A damaged list is refused and the basket stays.
    QFile damaged(folder.file("damaged.ibf"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("\"" + path("a.jpg").toUtf8() + "\r\n");
    damaged.close();
    EXPECT_FALSE(open(folder.file("damaged.ibf")));
    EXPECT_EQ(basket(), withoutB);
    EXPECT_EQ(errors.reports().size(), 1u);
}
