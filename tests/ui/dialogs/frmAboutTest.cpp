#include "shell/dialogs/frmAbout.h"
#include "Version.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace picbasket;

TEST(AboutBox, LabelsCarryTheVersionData) {
    frmAbout about(nullptr, [](const QString&) { return true; });
    EXPECT_EQ(about.lblTitle->text(), QString::fromUtf8(version::Title));
    EXPECT_EQ(about.lblEdition->text(), QString::fromUtf8(version::Comments));
    EXPECT_EQ(about.lblVersion->text(), QStringLiteral("Version %1.%2.%3")
                                            .arg(version::Major)
                                            .arg(version::Minor)
                                            .arg(version::Revision));
    EXPECT_EQ(about.lblDescription->text(), QString::fromUtf8(version::Description));
    EXPECT_EQ(about.lblCompany->text(), QString::fromUtf8(version::Company));
    EXPECT_EQ(about.lblCopyright->text(), QString::fromUtf8(version::Copyright));
    EXPECT_EQ(about.lblTrademark->text(), QString::fromUtf8(version::Trademarks));
}

TEST(AboutBox, LogoAndAddressOpenTheWebPageAndOkCloses) {
    QStringList opened;
    frmAbout about(nullptr, [&](const QString& address) {
        opened << address;
        return true;
    });
    about.show();
    QTest::mouseClick(about.Image1, Qt::LeftButton);
    QTest::mouseClick(about.lblCorvane, Qt::LeftButton);
    EXPECT_EQ(opened, (QStringList{frmAbout::webPage(), frmAbout::webPage()}));
    EXPECT_EQ(about.lblCorvane->text(), frmAbout::webPage());
    QTest::mouseClick(about.cmdOK, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}
