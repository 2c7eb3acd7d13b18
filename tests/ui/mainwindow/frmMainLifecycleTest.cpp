#include "controls/buttons/modButtonPicture.h"
#include "browser/FolderListing.h"
#include "browser/modBasketList.h"
#include "controls/splitter/Splitter.h"
#include "core/AppPaths.h"
#include "core/Globals.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/StatusBar.h"
#include "platform/foldertree/FolderTreeview.h"
#include "platform/imagebox/ImageBoxView.h"
#include "tests/ui/mainwindow/MainWindowFixture.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace picbasket;
using picbasket::test::MainWindowTest;

TEST_F(MainWindowTest, StartUpBuildsWhatTheWindowShowsFirst) {
    frmMain& w = start();
    EXPECT_TRUE(w.FormLoaded);
    EXPECT_TRUE(w.previewPane().unchanged());
    EXPECT_FALSE(w.RestoreFolderOnResize);
    EXPECT_EQ(ApplicationTitle.left(10), QStringLiteral("PicBasket "));
    EXPECT_EQ(w.HelpFile, fncFindHelpManual());
    EXPECT_TRUE(w.HelpFile.endsWith(QStringLiteral("/manual/index.html")));
    EXPECT_TRUE(fncAppPath().endsWith(QLatin1Char('/')));
    EXPECT_FALSE(fncAppPath().endsWith(QStringLiteral("//")));
    EXPECT_EQ(w.previewPane().folderFiles().Pattern.split(QLatin1Char(';')).size(), 36);
    EXPECT_EQ(w.sbMain->Panel(QStringLiteral("queue"))->Text(),
              QStringLiteral("No files in basket"));
    EXPECT_EQ(w.sbMain->Panel(QStringLiteral("filename"))->Text(),
              QStringLiteral("No file selected"));
    EXPECT_TRUE(w.sbMain->isVisible());
    for (const char* key : {"filename", "queue", "metadata", "folder", "status"})
        EXPECT_FALSE(w.sbMain->Panel(QString::fromLatin1(key))->Picture().isNull()) << key;
    EXPECT_EQ(w.previewPane().box()->box().DrawPenMode(), 15);
    EXPECT_EQ(w.previewPane().box()->box().DrawPenStyle(), 1);
    EXPECT_TRUE(w.previewPane().box()->box().SelectionOnly());
    EXPECT_TRUE(w.previewPane().box()->box().UseTransparentColor());
    EXPECT_EQ(w.previewPane().box()->box().AppTitle(), QStringLiteral("PicBasket"));
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(MainWindowTest, SplitterTreeJoinsTheFivePanes) {
    frmMain& w = start();
    EXPECT_EQ(w.splMain->LeftOrTopControl(), w.splRight);
    EXPECT_EQ(w.splMain->RightOrBottomControl(), w.splLeft);
    EXPECT_EQ(w.splRight->LeftOrTopControl(), w.picBrowse);
    EXPECT_EQ(w.splRight->RightOrBottomControl(), w.splView);
    EXPECT_EQ(w.splLeft->LeftOrTopControl(), &w.folderPane());
    EXPECT_EQ(w.splLeft->RightOrBottomControl(), &w.basketPane());
    EXPECT_EQ(w.splView->LeftOrTopControl(), w.previewPane().view());
    EXPECT_EQ(w.splView->RightOrBottomControl(), static_cast<QWidget*>(&w.metadataPane()));
    EXPECT_EQ(w.splMain->Orientation(), 1);
}

TEST_F(MainWindowTest, ComboListsHoldTheirItemsInOrder) {
    frmMain& w = start();
    auto items = [](QComboBox* combo) {
        QStringList list;
        for (int i = 0; i < combo->count(); ++i)
            list << combo->itemText(i);
        return list;
    };
    EXPECT_EQ(items(w.editView().mergeStyleCombo()),
              QStringList({"Single", "Centre", "Tile", "Wrap"}));
    EXPECT_EQ(items(w.editView().resizeFilterCombo()),
              QStringList({"Bilinear", "Hermite", "Bell", "B-Spline", "Lanczos", "Mitchell"}));
    EXPECT_EQ(w.editView().textPositionCombo()->count(), 10);
    EXPECT_EQ(w.editView().textPositionCombo()->itemText(9),
              QStringLiteral("Mouse-Click Position"));
    ASSERT_EQ(w.editView().fontSizeCombo()->count(), 93);
    EXPECT_EQ(w.editView().fontSizeCombo()->itemText(0), QStringLiteral("8"));
    EXPECT_EQ(w.editView().fontSizeCombo()->itemText(92), QStringLiteral("100"));
}

TEST_F(MainWindowTest, DamagedSplittersInTheSetupFileGiveTheDefaults) {
    picbasket::Setup.Splitters = {10, 10, 33, 44};
    picbasket::Setup.AllowTip = 0;
    writeSetupFile();
    frmMain& w = start();
    EXPECT_EQ(picbasket::Setup.Splitters, typSplitters{});
    EXPECT_EQ(picbasket::Setup.AllowTip, 1);
    EXPECT_EQ(w.splMain->SplitterPosition(), 70);
    EXPECT_EQ(w.splRight->SplitterPosition(), 30);
    EXPECT_EQ(w.splLeft->SplitterPosition(), 50);
    EXPECT_EQ(w.splView->SplitterPosition(), 50);
    EXPECT_FALSE(QFile::exists(AppPaths::setupFile()));
}

TEST_F(MainWindowTest, OneSplitterAtTenIsKept) {
    picbasket::Setup.Splitters = {10, 40, 50, 50};
    writeSetupFile();
    frmMain& w = start();
    EXPECT_EQ(w.splMain->SplitterPosition(), 10);
    EXPECT_EQ(w.splRight->SplitterPosition(), 40);
}

TEST_F(MainWindowTest, PreviewMenusFollowTheSetupRecord) {
    picbasket::Setup.Preview.Type = 1;
    picbasket::Setup.Preview.Fit = 1;
    writeSetupFile();
    frmMain& w = start();
    EXPECT_EQ(w.previewPane().checkedPreviewType(), 1);
    EXPECT_TRUE(w.previewPane().optimized());
    EXPECT_TRUE(w.previewPane().typeButton()->text().endsWith(QStringLiteral("    Optimized")));
    EXPECT_EQ(w.previewPane().checkedPreviewFit(), 1);
    EXPECT_TRUE(w.previewPane().fitButton()->text().endsWith(QStringLiteral("  Actual Size")));
}

TEST_F(MainWindowTest, OriginalPreviewTypeIsNotOptimized) {
    picbasket::Setup.Preview.Type = 0;
    writeSetupFile();
    frmMain& w = start();
    EXPECT_FALSE(w.previewPane().optimized());
    EXPECT_EQ(w.previewPane().checkedPreviewType(), 0);
}

TEST_F(MainWindowTest, ToolTipsFollowAllowTip) {
    picbasket::Setup.AllowTip = 0;
    writeSetupFile();
    frmMain& w = start();
    QWidget* const panes[] = {w.folderPane().tree(), w.folderPane().list(),
                              w.previewPane().imageHolder(),           w.basketPane().list(),
                              w.metadataPane().exifList(),  w.metadataPane().iptcList()};
    for (QWidget* pane : panes)
        EXPECT_TRUE(pane->toolTip().isEmpty());
    picbasket::Setup.AllowTip = 1;
    w.subUpdateForm();
    for (QWidget* pane : panes)
        EXPECT_FALSE(pane->toolTip().isEmpty());
    EXPECT_EQ(w.folderPane().list()->toolTip(),
              QStringLiteral("List all supported image formats from the selected folder."));
}

TEST_F(MainWindowTest, LastFolderIsShownAndArmsTheListing) {
    const QString last = folder.file(QStringLiteral("pictures"));
    QDir().mkpath(last);
    picbasket::Setup.LastFolder = last;
    writeSetupFile();
    frmMain& w = start();
    EXPECT_EQ(w.folderPane().tree()->SelectedFolder(), last);
    EXPECT_EQ(w.folderPane().currentFolder(), last);
    EXPECT_TRUE(w.folderPane().listingAborted());
    QSignalSpy due(&w.folderPane(), &FolderPane::ShowFilesDue);
    ASSERT_TRUE(due.wait(2000));
    EXPECT_EQ(due.at(0).at(0).toString(), last);
}

TEST_F(MainWindowTest, MissingLastFolderFallsBackToItsNearestParent) {
    const QString parent = folder.file(QStringLiteral("kept"));
    QDir().mkpath(parent);
    picbasket::Setup.LastFolder = parent + QStringLiteral("/gone/deeper");
    writeSetupFile();
    frmMain& w = start();
    EXPECT_EQ(w.folderPane().tree()->SelectedFolder(), parent);
}

TEST_F(MainWindowTest, ExitWritesTheWindowStateBack) {
    const QString last = folder.file(QStringLiteral("album"));
    QDir().mkpath(last);
    picbasket::Setup.LastFolder = last;
    writeSetupFile();
    frmMain& w = start();
    w.splMain->setSplitterPosition(61);
    w.splRight->setSplitterPosition(22);
    w.splLeft->setSplitterPosition(44);
    w.splView->setSplitterPosition(66);
    w.previewPane().fitMenu()->actions().at(1)->setChecked(true);
    w.previewPane().typeMenu()->actions().at(0)->setChecked(true);
    w.folderPane().list()->setColumnWidth(3, 155);
    w.folderPane().list()->setColumnWidth(8, 81);
    w.basketPane().list()->setColumnWidth(5, 240);
    w.metadataPane().exifList()->setColumnWidth(2, 222);
    w.metadataPane().iptcList()->setColumnWidth(1, 77);
    ThumbnailWidth = 90;
    ThumbnailHeight = 91;
    BasketThumbnailWidth = 60;
    BasketThumbnailHeight = 61;
    BasketFolder = QStringLiteral("/baskets/");
    closeWindow();

    picbasket::Setup = fncSetupDefaults();
    subLoadSetup();
    EXPECT_EQ(picbasket::Setup.Splitters, (typSplitters{61, 22, 44, 66}));
    EXPECT_EQ(picbasket::Setup.Preview.Fit, 1);
    EXPECT_EQ(picbasket::Setup.Preview.Type, 0);
    EXPECT_EQ(picbasket::Setup.LastFolder, last);
    EXPECT_EQ(picbasket::Setup.FolderList.ColumnWidth[2], 155);
    EXPECT_EQ(picbasket::Setup.FolderList.ColumnWidth[7], 81);
    EXPECT_EQ(picbasket::Setup.BasketList.ColumnWidth[4], 240);
    EXPECT_EQ(picbasket::Setup.MetadataLists.ExifColumnWidth[1], 222);
    EXPECT_EQ(picbasket::Setup.MetadataLists.IptcColumnWidth[0], 77);
    EXPECT_EQ(picbasket::Setup.FolderList.ThumbnailWidth, 90);
    EXPECT_EQ(picbasket::Setup.FolderList.ThumbnailHeight, 91);
    EXPECT_EQ(picbasket::Setup.BasketList.ThumbnailWidth, 60);
    EXPECT_EQ(picbasket::Setup.BasketList.ThumbnailHeight, 61);
    EXPECT_EQ(picbasket::Setup.BasketList.Folder, QStringLiteral("/baskets/"));
}

TEST_F(MainWindowTest, ColumnWidthsOfTheSetupRecordAreApplied) {
    picbasket::Setup.FolderList.ColumnWidth[0] = 210;
    picbasket::Setup.BasketList.ColumnWidth[4] = 321;
    picbasket::Setup.MetadataLists.IptcColumnWidth[1] = 123;
    writeSetupFile();
    frmMain& w = start();
    EXPECT_EQ(w.folderPane().list()->ColumnWidth(1), 210);
    EXPECT_EQ(w.basketPane().list()->ColumnWidth(5), 321);
    EXPECT_EQ(w.metadataPane().iptcList()->ColumnWidth(2), 123);
}

TEST_F(MainWindowTest, ExitRemovesOnlyThePageFilesOfTheTempFolder) {
    QDir().mkpath(AppPaths::tempPageFolder());
    const QStringList pages{QStringLiteral("page1.tif"), QStringLiteral("PAGE2.TIF")};
    const QStringList others{QStringLiteral("keep.tiff"), QStringLiteral("keep.bmp"),
                             QStringLiteral("template.exe"), QStringLiteral("keep.tif.txt")};
    for (const QString& name : pages + others) {
        QFile file(AppPaths::tempPageFolder() + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
    }
    const QString outside = folder.file(QStringLiteral("outside.tif"));
    QFile(outside).open(QIODevice::WriteOnly);
    start();
    closeWindow();
    for (const QString& name : pages)
        EXPECT_FALSE(QFile::exists(AppPaths::tempPageFolder() + QLatin1Char('/') + name))
            << name.toStdString();
    for (const QString& name : others)
        EXPECT_TRUE(QFile::exists(AppPaths::tempPageFolder() + QLatin1Char('/') + name))
            << name.toStdString();
    EXPECT_TRUE(QFile::exists(outside));
}

TEST_F(MainWindowTest, ExitWithoutTempFolderIsNoError) {
    start();
    closeWindow();
    EXPECT_TRUE(errors.reports().empty());
    EXPECT_TRUE(QFile::exists(AppPaths::setupFile()));
}

TEST_F(MainWindowTest, ExitRemovesThePictureButtonHooks) {
    frmMain& w = start();
    EXPECT_TRUE(fncHasButtonPicture(w.folderPane().captureButton()));
    closeWindow();
    EXPECT_FALSE(fncHasButtonPicture(w.basketPane().saveAsButton()));
    EXPECT_FALSE(fncHasButtonPicture(w.metadataPane().exifButtons()[5]));
    EXPECT_FALSE(fncHasButtonPicture(w.folderPane().captureButton()));
}

TEST_F(MainWindowTest, LastFolderIsScrolledIntoTheTree) {
    const QString last = folder.file(QStringLiteral("a/b/c/d/e"));
    QDir().mkpath(last);
    picbasket::Setup.LastFolder = last;
    writeSetupFile();
    frmMain& w = start();
    (void)QTest::qWaitFor(
        [&] {
            return w.folderPane().tree()->viewport()->rect().contains(
                w.folderPane()
                    .tree()->visualRect(w.folderPane().tree()->currentIndex())
                    .center());
        },
        3000);
    EXPECT_TRUE(w.folderPane().tree()->viewport()->rect().contains(
        w.folderPane().tree()->visualRect(w.folderPane().tree()->currentIndex()).center()));
}
