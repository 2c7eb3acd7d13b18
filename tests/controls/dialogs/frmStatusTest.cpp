#include "controls/dialogs/frmStatus.h"
#include "core/Globals.h"
#include "core/setup/modSetup.h"
#include "engine/batch/modSaveBatch.h"
#include "platform/imagebox/ImageBox.h"
#include "tests/common/TestSupport.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {
const QString kProcessing = "Please wait..... your request is being processed";
const QString kCancelling = "Please wait...... cancelling operaration";

class WaitDialog : public ::testing::Test {
protected:
    void SetUp() override { CancelOperation = false; }
    void TearDown() override { CancelOperation = false; }
    QMainWindow owner;
};
} // namespace

TEST_F(WaitDialog, OpensWithTheProcessingTextAndStaysModeless) {
    frmStatus dialog(&owner);
    EXPECT_EQ(dialog.windowTitle(), "Processing...");
    EXPECT_EQ(dialog.lblStatus->text(), kProcessing);
    EXPECT_EQ(dialog.lblMessage->text(), QString());
    EXPECT_EQ(dialog.cmdCancel->text(), "Cancel");
    EXPECT_FALSE(dialog.isModal());
}

TEST_F(WaitDialog, CancelTwiceKeepsTheFlagAndTheCancellingText) {
    frmStatus dialog(&owner);
    dialog.showWaiting();
    for (int click = 0; click < 2; ++click) {
        QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton);
        EXPECT_TRUE(CancelOperation);
        EXPECT_EQ(dialog.lblStatus->text(), kCancelling);
        EXPECT_TRUE(dialog.isVisible());
    }
}

TEST_F(WaitDialog, ShowingAgainStartsFreshAndBlocksOnlyTheOwner) {
    frmStatus dialog(&owner);
    dialog.showWaiting();
    dialog.cmdCancel_Click();
    dialog.closeWaiting();
    EXPECT_FALSE(dialog.isVisible());
    dialog.showWaiting();
    EXPECT_EQ(dialog.lblStatus->text(), kProcessing);
    EXPECT_FALSE(CancelOperation);
    EXPECT_EQ(dialog.windowModality(), Qt::WindowModal);
    EXPECT_TRUE(dialog.cmdCancel->isEnabled());
}

TEST_F(WaitDialog, ClosingOrEscapeWhileShownCancelsInsteadOfHiding) {
    frmStatus dialog(&owner);
    dialog.showWaiting();
    EXPECT_FALSE(dialog.close());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(CancelOperation);
    CancelOperation = false;
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(CancelOperation);
}

TEST_F(WaitDialog, CancelDuringABatchStopsItAndClosesTheDialog) {
    QTemporaryDir in, out;
    BasketRows rows;
    for (const char* name : {"a", "b", "c"}) {
        QImage image(8, 8, QImage::Format_RGB888);
        image.fill(Qt::red);
        const QString path = QDir(in.path()).filePath(QString::fromLatin1(name) + ".png");
        ASSERT_TRUE(image.save(path));
        BasketRow row;
        row.Text = name;
        row.Tag = path;
        rows.addRow(row);
    }
    const typBatchSave saved = picbasket::Setup.BatchSave;
    picbasket::Setup.BatchSave.DestinationMode = 1;
    picbasket::Setup.BatchSave.DestinationFolder = out.path();
    picbasket::Setup.BatchSave.ProcessTasks = 0;
    frmStatus dialog(&owner);
    ImageBox box;
    // The user clicks Cancel once the first row is done.
    QObject::connect(dialog.pbQueue, &QProgressBar::valueChanged, &dialog, [&](int value) {
        if (value == 1)
            QTimer::singleShot(0, &dialog,
                               [&] { QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton); });
    });
    EXPECT_TRUE(fncConvertBasket(rows, TaskRowList{}, box, dialog));
    picbasket::Setup.BatchSave = saved;
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files), QStringList{"a.jp2"});
    EXPECT_EQ(dialog.pbQueue->maximum(), 3);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(CancelOperation);
}
