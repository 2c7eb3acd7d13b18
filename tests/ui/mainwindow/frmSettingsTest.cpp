#include "shell/mainwindow/frmSettings.h"

#include "core/AppPaths.h"
#include "browser/FolderListing.h"
#include "browser/modBasketList.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/TabStrip.h"
#include "tests/ui/mainwindow/MainWindowFixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace picbasket;
using picbasket::test::MainWindowTest;

TEST_F(MainWindowTest, SettingsOpenOnTheRecordAndListTheShortcuts) {
    picbasket::Setup.AllowTip = 0;
    picbasket::Setup.Twain.GenericName = QStringLiteral("Scan");
    picbasket::Setup.Capture.Folder = QStringLiteral("/shots/");
    picbasket::Setup.FolderList.ThumbnailWidth = 120;
    picbasket::Setup.FolderList.FileSizeFormat = 1;
    picbasket::Setup.FolderList.FullRowSelect = true;
    frmSettings dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Settings"));
    EXPECT_FALSE(dialog.chkAllowTip->isChecked());
    EXPECT_EQ(dialog.txtTwainGeneric->text(), QStringLiteral("Scan"));
    EXPECT_EQ(dialog.txtCaptureFolder->text(), QStringLiteral("/shots/"));
    EXPECT_EQ(dialog.txtFolderThumbnailWidth->text(), QStringLiteral("120"));
    EXPECT_TRUE(dialog.optFileSize[1]->isChecked());
    EXPECT_TRUE(dialog.chkFolderFullRowSelect->isChecked());
    ASSERT_EQ(dialog.tbsSettings->Count(), 4);
    EXPECT_EQ(dialog.tbsSettings->Caption(4), QStringLiteral("Shortcuts"));
    ASSERT_EQ(dialog.lvShortcuts->Count(), 3);
    EXPECT_EQ(dialog.lvShortcuts->Text(1), QStringLiteral("Add Selected Files to basket"));
    EXPECT_EQ(dialog.lvShortcuts->SubItem(1, 1), QStringLiteral("Enter [Return]"));
    EXPECT_EQ(dialog.lvShortcuts->SubItem(3, 1), QStringLiteral("Delete"));
}

TEST_F(MainWindowTest, SettingsOkWritesBothListBlocksAndUpdatesTheWindow) {
    picbasket::Setup.AllowTip = 0;
    writeSetupFile();
    frmMain& w = start();
    frmSettings dialog(&w);
    dialog.chkAllowTip->setChecked(true);
    dialog.txtFolderThumbnailWidth->setText(QStringLiteral("120"));
    dialog.txtFolderThumbnailHeight->setText(QStringLiteral("130"));
    dialog.optFileSize[1]->setChecked(true);
    dialog.chkFolderFullRowSelect->setChecked(true);
    dialog.txtTwainGeneric->setText(QStringLiteral("Page"));
    dialog.txtTwainFolder->setText(QStringLiteral("/scans/"));
    dialog.txtCaptureGeneric->setText(QStringLiteral("Shot"));
    dialog.txtCaptureFolder->setText(QStringLiteral("/shots/"));
    dialog.cmdOK->click();

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(picbasket::Setup.AllowTip, 1);
    EXPECT_EQ(picbasket::Setup.FolderList.ThumbnailWidth, 120);
    EXPECT_EQ(picbasket::Setup.BasketList.ThumbnailWidth, 120);
    EXPECT_EQ(picbasket::Setup.FolderList.ThumbnailHeight, 130);
    EXPECT_EQ(picbasket::Setup.BasketList.ThumbnailHeight, 130);
    EXPECT_EQ(picbasket::Setup.FolderList.FileSizeFormat, 1);
    EXPECT_TRUE(picbasket::Setup.FolderList.FullRowSelect);
    EXPECT_TRUE(picbasket::Setup.BasketList.FullRowSelect);
    EXPECT_EQ(picbasket::Setup.Twain.GenericName, QStringLiteral("Page"));
    EXPECT_EQ(picbasket::Setup.Twain.Folder, QStringLiteral("/scans/"));
    EXPECT_EQ(picbasket::Setup.Capture.GenericName, QStringLiteral("Shot"));
    EXPECT_EQ(picbasket::Setup.Capture.Folder, QStringLiteral("/shots/"));
    // The window has applied them.
    EXPECT_EQ(ThumbnailWidth, 120);
    EXPECT_EQ(BasketThumbnailHeight, 130);
    EXPECT_TRUE(w.folderPane().list()->FullRowSelect());
    EXPECT_TRUE(w.basketPane().list()->FullRowSelect());
    EXPECT_FALSE(w.basketPane().list()->toolTip().isEmpty());
}

TEST_F(MainWindowTest, SettingsOkClampsTheThumbnailBoxes) {
    const std::pair<const char*, int16_t> cases[] = {
        {"999", 300}, {"5", 20}, {"300", 300}, {"20", 20}, {"150", 150}};
    for (const auto& [typed, stored] : cases) {
        frmSettings dialog(nullptr);
        dialog.txtFolderThumbnailWidth->setText(QString::fromLatin1(typed));
        dialog.txtFolderThumbnailHeight->setText(QString::fromLatin1(typed));
        dialog.cmdOK->click();
        EXPECT_EQ(picbasket::Setup.FolderList.ThumbnailWidth, stored) << typed;
        EXPECT_EQ(picbasket::Setup.BasketList.ThumbnailHeight, stored) << typed;
        EXPECT_EQ(dialog.txtFolderThumbnailWidth->text(), QString::number(stored)) << typed;
    }
}

TEST_F(MainWindowTest, ClearedThumbnailBoxShowsTheLeastSize) {
    frmSettings dialog(nullptr);
    dialog.txtFolderThumbnailWidth->clear();
    EXPECT_EQ(dialog.txtFolderThumbnailWidth->text(), QStringLiteral("20"));
    EXPECT_EQ(dialog.txtFolderThumbnailWidth->cursorPosition(), 2);
}

TEST_F(MainWindowTest, SettingsCancelChangesNothing) {
    picbasket::Setup.FolderList.ThumbnailWidth = 50;
    const typSetup before = picbasket::Setup;
    frmSettings dialog(nullptr);
    dialog.chkAllowTip->setChecked(false);
    dialog.txtFolderThumbnailWidth->setText(QStringLiteral("250"));
    dialog.optFileSize[1]->setChecked(true);
    dialog.txtTwainFolder->setText(QStringLiteral("/elsewhere/"));
    dialog.cmdCancel->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(picbasket::Setup, before);
}

TEST_F(MainWindowTest, StoredSizeFormatOutOfRangeOpensOnTheFirstOption) {
    writeSetupFile();
    picbasket::Setup.FolderList.FileSizeFormat = 7;
    frmSettings dialog(nullptr);
    EXPECT_TRUE(dialog.optFileSize[0]->isChecked());
    EXPECT_TRUE(errors.reports().empty());
    EXPECT_TRUE(QFile::exists(AppPaths::setupFile()));
    dialog.cmdOK->click();
    EXPECT_EQ(picbasket::Setup.FolderList.FileSizeFormat, 0);
}

TEST_F(MainWindowTest, SettingsTabsShowOnePanelEach) {
    frmSettings dialog(nullptr);
    dialog.show();
    for (int tab = 1; tab <= 4; ++tab) {
        dialog.tbsSettings->setSelectedItem(tab);
        for (int panel = 0; panel < 4; ++panel)
            EXPECT_EQ(dialog.panels[static_cast<size_t>(panel)]->isVisible(), panel == tab - 1)
                << tab;
    }
}
