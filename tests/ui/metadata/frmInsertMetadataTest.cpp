#include "metadata/frmInsertMetadata.h"

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

void tick(QListWidget* list, int row) {
    list->item(row)->setCheckState(Qt::Checked);
}

} // namespace

TEST(frmInsertMetadata, OffersTheEditableExifAttributesThenTheIptcFields) {
    frmInsertMetadata window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Insertable metadata tags"));
    ASSERT_EQ(window.lstMetadata->count(), 65);
    const std::pair<int, const char*> items[] = {
        {0, "EXIF - Make"},
        {2, "EXIF - Date/Time"},
        {10, "EXIF - Pixel Y Dimension"},
        {11, "IPTC - Caption"},
        {23, "IPTC - Original Transmission Reference (OTR)"},
        {27, "IPTC - Image Notes"},
        {29, "IPTC - Keywords"},
        {44, "IPTC - Local Caption"},
        {45, "IPTC - Custom Field 1"},
        {64, "IPTC - Custom Field 20"},
    };
    for (const auto& [row, text] : items)
        EXPECT_EQ(window.lstMetadata->item(row)->text(), QString::fromUtf8(text)) << row;
    EXPECT_TRUE(window.TickedItems().isEmpty());
}

TEST(frmInsertMetadata, OkKeepsTheTicksForTheCaller) {
    frmInsertMetadata window;
    QTimer::singleShot(0, &window, [&] {
        tick(window.lstMetadata, 0);
        tick(window.lstMetadata, 12);
        window.cmdOK->click();
    });
    window.exec();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.TickedItems(), QStringList({"EXIF - Make", "IPTC - Caption Writer"}));
}

TEST(frmInsertMetadata, SelectAllThenCancelReturnsNothing) {
    frmInsertMetadata window;
    QTimer::singleShot(0, &window, [&] {
        window.chkSelectAll->click();
        EXPECT_EQ(window.TickedItems().size(), 65);
        window.cmdCancel->click();
    });
    window.exec();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.TickedItems().isEmpty());
    EXPECT_FALSE(window.chkSelectAll->isChecked());
}

TEST(frmInsertMetadata, ClosingTheWindowIsCancel) {
    frmInsertMetadata window;
    QTimer::singleShot(0, &window, [&] {
        tick(window.lstMetadata, 3);
        window.close();
    });
    window.exec();
    EXPECT_TRUE(window.TickedItems().isEmpty());
}

TEST(frmInsertMetadata, UntickingSelectAllClearsHandSetTicks) {
    frmInsertMetadata window;
    window.chkSelectAll->setChecked(true);
    window.lstMetadata->item(5)->setCheckState(Qt::Unchecked);
    tick(window.lstMetadata, 5);
    window.chkSelectAll->setChecked(false);
    EXPECT_TRUE(window.TickedItems().isEmpty());
}

TEST(frmInsertMetadata, KeepsItsLeastSizeAndLaysOutTheControls) {
    frmInsertMetadata window;
    window.show();
    window.resize(120, 150);
    QApplication::processEvents();
    EXPECT_EQ(window.size(), QSize(200, 300));
    window.resize(300, 500);
    QApplication::processEvents();
    const QRect check = window.chkSelectAll->geometry();
    const QRect list = window.lstMetadata->geometry();
    const QRect bar = window.picOK->geometry();
    EXPECT_LT(check.bottom(), list.top());
    EXPECT_LT(list.bottom(), bar.top());
    EXPECT_EQ(bar.bottom(), 499);
    EXPECT_GT(list.width(), 280);
    EXPECT_TRUE(bar.contains(window.cmdCancel->geometry().translated(bar.topLeft())));
    EXPECT_LT(window.cmdOK->geometry().right(), window.cmdCancel->geometry().left());
}
