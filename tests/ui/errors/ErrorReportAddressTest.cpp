#include "Version.h"
#include "core/Globals.h"
#include "shell/errors/modErrorReport.h"
#include "tests/ui/errors/ReportTestServer.h"

#include <gtest/gtest.h>

using namespace picbasket;

namespace {

const char* const kKeys[] = {"ApplicationName", "EmailFrom",       "ApplicationVersion",
                             "RoutineName",     "ErrorLineNumber", "StringMessage",
                             "Error",           "UserDescription"};

ErrorReport overflowReport() {
    return ErrorReport{QStringLiteral("Overflow"), 6, 120, QStringLiteral("frmMain.subSetup"),
                       QStringLiteral("Setting up Main Application")};
}

} // namespace

TEST(ErrorReportTexts, VersionErrorTextAndTitle) {
    EXPECT_EQ(
        ErrAppVersion(),
        QStringLiteral("%1.%2.%3").arg(version::Major).arg(version::Minor).arg(version::Revision));
    EXPECT_EQ(ErrText(overflowReport()), QStringLiteral("6 - Overflow"));
    subInitGlobals();
    EXPECT_EQ(ApplicationTitle,
              QStringLiteral("PicBasket ") + QString::fromUtf8(version::Comments));
    ASSERT_EQ(SuccessWindowTitles.size(), 6);
    EXPECT_EQ(SuccessWindowTitles[2], QStringLiteral("Success"));
}

TEST(ErrorReportAddress, KeysInOrderAndHostileValuesArriveIntact) {
    const QString hostile = QStringLiteral("a&b=c d+e\r\nf%20g?h#i/\u00e9");
    ApplicationTitle = QStringLiteral("PicBasket & Co=1");
    ErrorReport report = overflowReport();
    report.source = hostile;
    report.activity = hostile;
    const QUrl address =
        buildReportAddress(QUrl(QStringLiteral("http://example.test:8080")), report,
                           {QStringLiteral("  me@example.test "), hostile});
    EXPECT_EQ(address.host(), QStringLiteral("example.test"));
    EXPECT_EQ(address.port(), 8080);
    EXPECT_EQ(address.path(), QStringLiteral("/email/reportError.asp"));
    const auto pairs = test::decodedQuery(address.toEncoded());
    ASSERT_EQ(pairs.size(), std::size(kKeys));
    for (size_t i = 0; i < pairs.size(); ++i)
        EXPECT_EQ(pairs[i].first, QString::fromLatin1(kKeys[i]));
    EXPECT_EQ(pairs[0].second, QStringLiteral("PicBasket & Co=1"));
    EXPECT_EQ(pairs[1].second, QStringLiteral("me@example.test"));
    EXPECT_EQ(pairs[2].second, ErrAppVersion());
    EXPECT_EQ(pairs[3].second, hostile);
    EXPECT_EQ(pairs[4].second, QStringLiteral("120"));
    EXPECT_EQ(pairs[5].second, hostile);
    EXPECT_EQ(pairs[6].second, QStringLiteral("6 - Overflow"));
    EXPECT_EQ(pairs[7].second, hostile);
    ApplicationTitle = QStringLiteral("PicBasket");
}

TEST(ErrorReportAddress, PlaceholderEmailAndServerPrefix) {
    const QUrl address = buildReportAddress(QUrl(QStringLiteral("https://h.test/base/")),
                                            overflowReport(), {QStringLiteral("   "), QString()});
    EXPECT_EQ(address.path(), QStringLiteral("/base/email/reportError.asp"));
    const auto pairs = test::decodedQuery(address.toEncoded());
    ASSERT_EQ(pairs.size(), std::size(kKeys));
    EXPECT_EQ(pairs[1].second, placeholderEmail());
    EXPECT_EQ(pairs[7].second, QString());
}

TEST(ErrorReportAddress, EnvironmentOverridesTheServer) {
    qputenv("PICBASKET_REPORT_URL", "http://127.0.0.1:9");
    EXPECT_EQ(reportServer(), QUrl(QStringLiteral("http://127.0.0.1:9")));
    qunsetenv("PICBASKET_REPORT_URL");
    EXPECT_TRUE(reportServer().isEmpty()) << "no server of its own: reports are only kept";
}
