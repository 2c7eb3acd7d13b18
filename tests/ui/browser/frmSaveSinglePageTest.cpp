#include "browser/frmSaveSinglePage.h"
#include "core/setup/modSetup.h"
#include "engine/batch/modNamingRules.h"
#include "tests/common/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

class BatchOptionsDialog : public ::testing::Test {
protected:
    void SetUp() override {
        picbasket::Setup = fncSetupDefaults();
        picbasket::Setup.BatchSave.Confirmed = false;
    }
    void TearDown() override { picbasket::Setup = fncSetupDefaults(); }

    static void leave(QWidget* box) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(box, &out);
    }

    QStringList shownTexts() const {
        QStringList out;
        for (const auto& m : messages.shown())
            out << m.text;
        return out;
    }

    test::TempAppFolder folder;
    test::MessageRecorder messages;
    test::ErrorRecorder errors;
};

} // namespace

TEST_F(BatchOptionsDialog, LoadsTheStoredOptionsAndEnablesByNamingMode) {
    typBatchSave& o = picbasket::Setup.BatchSave;
    o.NameMode = 2;
    o.Codestream = 1;
    o.Rate = 7;
    o.Prefix = QStringLiteral("[Date Today]");
    o.Counter = QStringLiteral("[Starting 1001]");
    o.DestinationMode = 1;
    o.DestinationFolder = QStringLiteral("/tmp/out/");
    o.Overwrite = 0;
    frmSaveSinglePage dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Save JPEG2000 in batch mode"));
    EXPECT_EQ(dialog.cboJPEG2000->currentText(), QStringLiteral("JPEG2000 JPC"));
    EXPECT_EQ(dialog.txtJPG2000Compression->text(), QStringLiteral("7"));
    EXPECT_EQ(dialog.sldJPEG2000Compression->value(), 7);
    EXPECT_TRUE(dialog.OptName[2]->isChecked());
    for (QComboBox* hybrid : {dialog.cboRenamePrefix, dialog.cboRenameSuffix, dialog.cboSeparator1,
                              dialog.cboSeparator2})
        EXPECT_FALSE(hybrid->isEnabled());
    EXPECT_TRUE(dialog.txtRenameGeneric->isEnabled());
    EXPECT_TRUE(dialog.cboRenameGeneric->isEnabled());
    EXPECT_EQ(dialog.cboRenamePrefix->count(), 25);
    EXPECT_EQ(dialog.cboSeparator1->count(), 10);
    EXPECT_EQ(dialog.cboRenamePrefix->currentText(), QStringLiteral("[Date Today]"));
    EXPECT_EQ(dialog.cboRenameGeneric->currentText(), QStringLiteral("[Starting 1001]"));
    EXPECT_TRUE(dialog.txtDestinationFolder->isEnabled());
    EXPECT_FALSE(dialog.chkOverwrite->isChecked());
}

// Both hybrid lists offer the naming rules' tokens, in their order, and nothing else.
TEST_F(BatchOptionsDialog, PrefixAndSuffixListsOfferTheNamingRulesTokens) {
    frmSaveSinglePage dialog;
    for (QComboBox* list : {dialog.cboRenamePrefix, dialog.cboRenameSuffix}) {
        QStringList offered;
        for (int i = 0; i < list->count(); ++i)
            offered << list->itemText(i);
        EXPECT_EQ(offered, picbasket::fncNamingTokens()) << list->objectName().toStdString();
    }
}

TEST_F(BatchOptionsDialog, LoselessIsStoredAtOnceAndExitKeepsIt) {
    frmSaveSinglePage dialog;
    dialog.optJPG2000Compression[0]->setChecked(true);
    EXPECT_EQ(picbasket::Setup.BatchSave.Lossy, 0);
    EXPECT_FALSE(dialog.picFrameJPG2000Lossy->isEnabled());
    EXPECT_EQ(dialog.optJPG2000Compression[0]->text(), QStringLiteral("Loseless"));
    dialog.OptName[1]->setChecked(true);
    dialog.cmdCancel->click();
    EXPECT_EQ(picbasket::Setup.BatchSave.Lossy, 0);
    EXPECT_EQ(picbasket::Setup.BatchSave.NameMode, 1);
    EXPECT_FALSE(picbasket::Setup.BatchSave.Confirmed);
}

TEST_F(BatchOptionsDialog, RateBoxClampsAndGetsTheStoredRateBackWhenEmptied) {
    picbasket::Setup.BatchSave.Rate = 12;
    frmSaveSinglePage dialog;
    dialog.txtJPG2000Compression->setText(QStringLiteral("40"));
    leave(dialog.txtJPG2000Compression);
    EXPECT_EQ(dialog.txtJPG2000Compression->text(), QStringLiteral("25"));
    EXPECT_EQ(dialog.sldJPEG2000Compression->value(), 25);
    EXPECT_EQ(dialog.txtJPG2000CompressionD->value(), -25) << "the spin holds the negated rate";
    dialog.txtJPG2000Compression->setText(QString());
    EXPECT_EQ(dialog.txtJPG2000Compression->text(), QStringLiteral("12"));
}

// A folder gets exactly one trailing "/", however often the dialog is saved.
TEST_F(BatchOptionsDialog, RepeatedSavesNeverLengthenTheFolder) {
    const char* cases[][2] = {{"/tmp/out", "/tmp/out/"},
                              {"/tmp/out/", "/tmp/out/"},
                              {"  /tmp/out  ", "/tmp/out/"},
                              {"/", "/"}};
    for (const auto& c : cases) {
        picbasket::Setup.BatchSave.DestinationFolder = QString::fromLatin1(c[0]);
        for (int round = 0; round < 3; ++round) {
            frmSaveSinglePage dialog;
            dialog.cmdStarConversion->click();
            EXPECT_EQ(picbasket::Setup.BatchSave.DestinationFolder, QString::fromLatin1(c[1]))
                << c[0] << " round " << round;
            EXPECT_TRUE(picbasket::Setup.BatchSave.Confirmed);
        }
    }
}

// The count passes exactly what the conversion's counter takes; a refusal leaves
// the dialog open and unconfirmed, with the other texts already stored.
TEST_F(BatchOptionsDialog, CountCheck) {
    struct Case {
        const char* count;
        const char* message; // nullptr: accepted
    };
    const Case cases[] = {{"   ", "The count variable cannot be empty!"},
                          {"1a", "Count should be numeric!"},
                          {"12", nullptr},
                          {"[Starting 1001]", nullptr},
                          {"[Starting 1]", nullptr},
                          {"99999999999", "Count should be numeric!"},
                          {"1.5", "Count should be numeric!"},
                          {"&H10", "Count should be numeric!"}};
    for (const Case& c : cases) {
        picbasket::Setup.BatchSave.Confirmed = false;
        picbasket::Setup.BatchSave.DestinationFolder = QStringLiteral("/old");
        const size_t before = messages.shown().size();
        frmSaveSinglePage dialog;
        dialog.show();
        dialog.cboRenameGeneric->setEditText(QString::fromLatin1(c.count));
        dialog.txtRenameGeneric->setText(QStringLiteral("Trip"));
        dialog.txtDestinationFolder->setText(QStringLiteral("/new"));
        dialog.cmdStarConversion->click();
        EXPECT_EQ(picbasket::Setup.BatchSave.GenericName, QStringLiteral("Trip")) << c.count;
        if (c.message) {
            ASSERT_EQ(messages.shown().size(), before + 1) << c.count;
            EXPECT_EQ(messages.shown().back().text, QString::fromLatin1(c.message)) << c.count;
            EXPECT_TRUE(dialog.isVisible()) << c.count;
            EXPECT_FALSE(picbasket::Setup.BatchSave.Confirmed) << c.count;
            EXPECT_EQ(picbasket::Setup.BatchSave.DestinationFolder, QStringLiteral("/old"));
            // Closing the window now is Exit.
            dialog.close();
            EXPECT_FALSE(picbasket::Setup.BatchSave.Confirmed) << c.count;
        } else {
            EXPECT_EQ(messages.shown().size(), before) << c.count;
            EXPECT_FALSE(dialog.isVisible()) << c.count;
            EXPECT_TRUE(picbasket::Setup.BatchSave.Confirmed) << c.count;
            EXPECT_EQ(picbasket::Setup.BatchSave.Counter, QString::fromLatin1(c.count));
            EXPECT_EQ(picbasket::Setup.BatchSave.DestinationFolder, QStringLiteral("/new/"));
        }
    }
}

TEST_F(BatchOptionsDialog, NamingCombosRefuseFileNameCharactersAndCountTakesDigits) {
    frmSaveSinglePage dialog;
    dialog.OptName[1]->setChecked(true);
    dialog.OptName[2]->setChecked(true);
    dialog.show();
    dialog.OptName[1]->setChecked(true);
    dialog.cboRenamePrefix->setEditText(QString());
    QTest::keyClicks(dialog.cboRenamePrefix->lineEdit(), QStringLiteral("a?b*c|d"));
    EXPECT_EQ(dialog.cboRenamePrefix->currentText(), QStringLiteral("abcd"));
    dialog.cboSeparator1->setEditText(QString());
    QTest::keyClicks(dialog.cboSeparator1->lineEdit(), QStringLiteral("-\"/:<>\\+"));
    EXPECT_EQ(dialog.cboSeparator1->currentText(), QStringLiteral("-+"));
    dialog.OptName[2]->setChecked(true);
    dialog.cboRenameGeneric->setEditText(QString());
    QTest::keyClicks(dialog.cboRenameGeneric->lineEdit(), QStringLiteral("1x2 3"));
    EXPECT_EQ(dialog.cboRenameGeneric->currentText(), QStringLiteral("123"));
    QTest::keyClicks(dialog.txtRenameGeneric, QStringLiteral("?"));
    EXPECT_TRUE(dialog.txtRenameGeneric->text().endsWith(QLatin1Char('?')))
        << "the generic name has no filter";
}
