#include "shell/errors/HttpReportSender.h"
#include "shell/errors/modErrorReport.h"
#include "tests/ui/errors/ReportTestServer.h"

#include <gtest/gtest.h>

using namespace picbasket;

TEST(HttpReportSender, DeliversTheQueryUnchangedAndReportsSuccess) {
    test::ReportTestServer server(200);
    const QString description = QStringLiteral("step 1 & 2 = done\r\nthen + more %41");
    const ErrorReport report{QStringLiteral("Overflow"), 6, 3, QStringLiteral("frmMain.x"),
                             QStringLiteral("Loading all controls and settings")};
    HttpReportSender sender(10000);
    const ReportSendResult result =
        sender.send(buildReportAddress(server.base(), report, {QString(), description}));
    EXPECT_EQ(result.outcome, ReportSendResult::Outcome::Sent) << result.detail.toStdString();
    ASSERT_EQ(server.requests(), 1);
    EXPECT_TRUE(server.target().startsWith("/email/reportError.asp?ApplicationName="));
    const auto pairs = test::decodedQuery(server.target());
    ASSERT_EQ(pairs.size(), 8u);
    EXPECT_EQ(pairs[5].second, QStringLiteral("Loading all controls and settings"));
    EXPECT_EQ(pairs[6].second, QStringLiteral("6 - Overflow"));
    EXPECT_EQ(pairs[7].first, QStringLiteral("UserDescription"));
    EXPECT_EQ(pairs[7].second, description);
}

TEST(HttpReportSender, FailuresAreNeverSuccess) {
    test::ReportTestServer serverError(500);
    test::ReportTestServer notFound(404);
    const QUrl refused(
        QStringLiteral("http://127.0.0.1:%1/email/reportError.asp?x=1").arg(test::refusedPort()));
    const struct {
        const char* what;
        QUrl address;
    } cases[] = {
        {"HTTP 500",
         serverError.base().resolved(QUrl(QStringLiteral("/email/reportError.asp?x=1")))},
        {"HTTP 404", notFound.base().resolved(QUrl(QStringLiteral("/email/reportError.asp?x=1")))},
        {"connection refused", refused},
        {"not a web address", QUrl(QStringLiteral("file:///etc/passwd"))},
        {"no host", QUrl(QStringLiteral("http:///email/reportError.asp"))},
    };
    HttpReportSender sender(10000);
    for (const auto& c : cases) {
        const ReportSendResult result = sender.send(c.address);
        EXPECT_EQ(result.outcome, ReportSendResult::Outcome::Failed) << c.what;
        EXPECT_FALSE(result.detail.isEmpty()) << c.what;
    }
    EXPECT_EQ(serverError.requests(), 1);
}

TEST(HttpReportSender, SilentServerEndsInATimeoutFailure) {
    test::ReportTestServer silent(0);
    HttpReportSender sender(300);
    const ReportSendResult result =
        sender.send(silent.base().resolved(QUrl(QStringLiteral("/email/reportError.asp?x=1"))));
    EXPECT_EQ(result.outcome, ReportSendResult::Outcome::Failed);
    EXPECT_EQ(silent.requests(), 1);
}
