#include "shell/errors/frmErrorReport.h"
#include "core/AppPaths.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "shell/errors/HttpReportSender.h"
#include "shell/errors/ReportSender.h"
#include "shell/errors/modErrorReport.h"
#include "tests/common/TestSupport.h"
#include "tests/ui/errors/ReportTestServer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace picbasket;

namespace {

// Records the addresses it is asked to send and answers with a chosen outcome.
class FakeReportSender : public ReportSender {
public:
    explicit FakeReportSender(ReportSendResult result = {ReportSendResult::Outcome::Sent, {}})
        : result_(std::move(result)) {}
    ReportSendResult send(const QUrl& address) override {
        sent.push_back(address);
        return result_;
    }
    std::vector<QUrl> sent;

private:
    ReportSendResult result_;
};

ErrorReport overflowReport() {
    return ErrorReport{QStringLiteral("Overflow"), 6, 42, QStringLiteral("frmMain.subSetup"),
                       QStringLiteral("Setting up Main Application")};
}

QString labelText(const QWidget& form, const char* name) {
    const auto* label = form.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing %1>").arg(QString::fromLatin1(name));
}

// The report windows on screen right now.
int openReportWindows() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        count += widget->objectName() == QLatin1String("frmErrorReport") && widget->isVisible();
    return count;
}

frmErrorReport* openReportWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("frmErrorReport") && widget->isVisible())
            return static_cast<frmErrorReport*>(widget);
    return nullptr;
}

// Installs the report window as presenter for one test and puts back the previous one.
class ReportWindowScope {
public:
    explicit ReportWindowScope(std::shared_ptr<ReportSender> sender) {
        previous_ = setErrorPresenter({});
        installErrorReportWindow(std::move(sender));
    }
    ~ReportWindowScope() { setErrorPresenter(previous_); }

private:
    ErrorPresenter previous_;
};

// The permission bits of a file or folder, as the system states them.
int modeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

// Runs step once the next modal window has started its event loop.
void whenShown(std::function<void()> step) {
    QTimer::singleShot(0, step);
}

} // namespace

TEST(frmErrorReport, FillsTheLabelsWithTheSystemsTexts) {
    ApplicationTitle = QStringLiteral("PicBasket 1.0");
    FakeReportSender sender;
    frmErrorReport form(sender);
    form.subFillReport(overflowReport());
    EXPECT_EQ(labelText(form, "lblHeading"),
              AppPaths::executableName() + QStringLiteral(" has encountered a problem"));
    EXPECT_EQ(labelText(form, "lblApplication"),
              QStringLiteral("PicBasket 1.0 ") + ErrAppVersion());
    EXPECT_EQ(labelText(form, "lblRoutine"), QStringLiteral("frmMain.subSetup"));
    EXPECT_EQ(labelText(form, "lblLineNumber"), QStringLiteral("42"));
    EXPECT_EQ(labelText(form, "lblTrappingString"), QStringLiteral("Setting up Main Application"));
    EXPECT_EQ(labelText(form, "lblSystemError"), QStringLiteral("6 - Overflow"));
    EXPECT_TRUE(
        labelText(form, "Label4").startsWith(QStringLiteral("We are sorry for the incovenience.")));
    EXPECT_EQ(labelText(form, "Label13"), QStringLiteral("System error:"));
    EXPECT_EQ(labelText(form, "Label2"),
              QStringLiteral("Your Email address [Optional, but if you want feedback, input one]"));
    EXPECT_EQ(form.findChild<QPushButton*>(QStringLiteral("cmdSend"))->text(),
              QStringLiteral("&Send"));
    EXPECT_EQ(form.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->text(),
              QStringLiteral("&Cancel"));
    ApplicationTitle = QStringLiteral("PicBasket");
}

TEST(frmErrorReport, SendShowsTheOutcomeThatHappened) {
    const QString thanks = reportThankYouMessage();
    const struct {
        const char* what;
        ReportSendResult result;
        int icon;
        QString text;
    } cases[] = {
        {"sent", {ReportSendResult::Outcome::Sent, {}}, mb::Information, thanks},
        {"offline",
         {ReportSendResult::Outcome::NoConnection, {}},
         mb::Critical,
         QStringLiteral("No active internet connection detected on your system!")},
        {"failed",
         {ReportSendResult::Outcome::Failed, QStringLiteral("The server answered 500.")},
         mb::Critical,
         QStringLiteral("The error report could not be sent.\r\nThe server answered 500.")},
    };
    test::TempAppFolder app;
    qputenv("PICBASKET_REPORT_URL", "http://127.0.0.1:9");
    for (const auto& c : cases) {
        test::MessageRecorder messages;
        FakeReportSender sender(c.result);
        frmErrorReport form(sender);
        form.subFillReport(overflowReport());
        form.show();
        form.findChild<QPlainTextEdit*>(QStringLiteral("txtUserDescription"))
            ->setPlainText(QStringLiteral("a & b\nc"));
        form.findChild<QPushButton*>(QStringLiteral("cmdSend"))->click();
        EXPECT_FALSE(form.isVisible()) << c.what;
        ASSERT_EQ(sender.sent.size(), 1u) << c.what;
        const auto pairs = test::decodedQuery(sender.sent[0].toEncoded());
        ASSERT_EQ(pairs.size(), 8u);
        EXPECT_EQ(pairs[1].second, placeholderEmail());
        EXPECT_EQ(pairs[7].second, QStringLiteral("a & b\nc"));
        ASSERT_EQ(messages.shown().size(), 1u) << c.what;
        EXPECT_EQ(messages.shown()[0].style, c.icon) << c.what;
        EXPECT_EQ(messages.shown()[0].text, c.text) << c.what;
    }
    qunsetenv("PICBASKET_REPORT_URL");
}

// Without a server the report is only kept: it is in a text file of the user's report
// folder from the moment the window opens, the window says where, Send sends nothing
// and says the file is all there is, with what the user typed in it.
TEST(frmErrorReport, WithoutAServerTheReportIsKeptAsAFile) {
    test::TempAppFolder app;
    qunsetenv("PICBASKET_REPORT_URL");
    test::MessageRecorder messages;
    FakeReportSender sender;
    frmErrorReport form(sender);
    form.subFillReport(overflowReport());
    const QStringList files = QDir(AppPaths::reportFolder()).entryList(QDir::Files);
    ASSERT_EQ(files.size(), 1);
    const QString path = QDir(AppPaths::reportFolder()).filePath(files[0]);
    EXPECT_EQ(labelText(form, "lblReportFile"), QStringLiteral("This report is saved as ") + path);

    form.show();
    form.findChild<QPlainTextEdit*>(QStringLiteral("txtUserDescription"))
        ->setPlainText(QStringLiteral("opened a damaged file"));
    form.findChild<QPushButton*>(QStringLiteral("cmdSend"))->click();
    EXPECT_TRUE(sender.sent.empty());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, reportKeptMessage(path));
    EXPECT_TRUE(messages.shown()[0].text.contains(path));
    // The window and its message speak to the user: no environment variable is named.
    EXPECT_FALSE(messages.shown()[0].text.contains("PICBASKET_"))
        << messages.shown()[0].text.toStdString();
    for (const QLabel* label : form.findChildren<QLabel*>())
        EXPECT_FALSE(label->text().contains("PICBASKET_")) << label->objectName().toStdString();
    // The folder and the file are the user's own.
    EXPECT_EQ(modeOf(AppPaths::reportFolder()), 0700);
    EXPECT_EQ(modeOf(path), 0600);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    for (const char* part :
         {"Routine: frmMain.subSetup", "Line: 42", "System error: 6 - Overflow",
          "Trapping String: Setting up Main Application", "opened a damaged file"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(part))) << part;
}

// A report folder left readable by others is narrowed to its owner, and every report
// file is the owner's alone whatever the umask lets through. Beyond 100 reports the
// oldest go as a new one is written; other files of the folder stay.
TEST(frmErrorReport, TheReportFolderIsTheUsersOwnAndKeepsTheNewestHundred) {
    test::TempAppFolder app;
    const QString folder = AppPaths::reportFolder();
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
    const QDateTime base = QDateTime::currentDateTime().addDays(-10);
    QStringList names;
    for (int i = 0; i < 104; ++i) {
        names << QStringLiteral("report-old-%1.txt").arg(i, 3, 10, QLatin1Char('0'));
        QFile file(QDir(folder).filePath(names.last()));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.write("old");
        file.flush();
        // Older files get the later names, so age and not the name decides.
        ASSERT_TRUE(file.setFileTime(base.addSecs(-60 * i), QFileDevice::FileModificationTime));
    }
    QFile notes(QDir(folder).filePath("notes.txt"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("mine");
    notes.close();
    const mode_t previousMask = ::umask(0);
    FakeReportSender sender;
    {
        frmErrorReport form(sender);
        form.subFillReport(overflowReport());
    }
    ::umask(previousMask);
    EXPECT_EQ(modeOf(folder), 0700);
    const QStringList reports =
        QDir(folder).entryList({QStringLiteral("report-*.txt")}, QDir::Files, QDir::Name);
    EXPECT_EQ(reports.size(), MaximumReportFiles);
    for (int i = 0; i < 104; ++i)
        EXPECT_EQ(reports.contains(names[i]), i < 99) << names[i].toStdString();
    EXPECT_TRUE(QFileInfo::exists(QDir(folder).filePath("notes.txt")));
    QStringList fresh = reports.filter(QRegularExpression(QStringLiteral("^report-\\d")));
    ASSERT_EQ(fresh.size(), 1);
    EXPECT_EQ(modeOf(QDir(folder).filePath(fresh[0])), 0600);
}

// A report folder that cannot be made is said in the window and after Send.
TEST(frmErrorReport, AReportFolderThatCannotBeMadeIsSaid) {
    test::TempAppFolder app;
    QFile blocker(app.file("reports"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    test::MessageRecorder messages;
    FakeReportSender sender;
    frmErrorReport form(sender);
    form.subFillReport(overflowReport());
    EXPECT_TRUE(labelText(form, "lblReportFile").startsWith("This report could not be saved as "));
    form.show();
    form.findChild<QPushButton*>(QStringLiteral("cmdSend"))->click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].style, mb::Critical);
    EXPECT_TRUE(messages.shown()[0].text.startsWith("This report could not be saved as "));
}

TEST(frmErrorReport, CancelSendsNothing) {
    test::TempAppFolder app;
    qputenv("PICBASKET_REPORT_URL", "http://127.0.0.1:9");
    test::MessageRecorder messages;
    FakeReportSender sender;
    frmErrorReport form(sender);
    form.subFillReport(overflowReport());
    form.show();
    form.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(sender.sent.empty());
    EXPECT_TRUE(messages.shown().empty());
    qunsetenv("PICBASKET_REPORT_URL");
}

TEST(ErrorReportWindow, ReportTypedInTheWindowReachesTheServer) {
    test::TempAppFolder app;
    test::ReportTestServer server(200);
    qputenv("PICBASKET_REPORT_URL", server.base().toEncoded());
    test::MessageRecorder messages;
    ReportWindowScope scope(std::make_shared<HttpReportSender>(10000));
    whenShown([] {
        frmErrorReport* form = openReportWindow();
        ASSERT_NE(form, nullptr);
        form->findChild<QLineEdit*>(QStringLiteral("txtEmail"))
            ->setText(QStringLiteral(" me@example.test "));
        form->findChild<QPlainTextEdit*>(QStringLiteral("txtUserDescription"))
            ->setPlainText(QStringLiteral("clicked Save & then=crash\r\nline two"));
        form->findChild<QPushButton*>(QStringLiteral("cmdSend"))->click();
    });
    subGlobalErrorHandler(QStringLiteral("Overflow"), 6, 7, QStringLiteral("frmMain.subSetup"));
    qunsetenv("PICBASKET_REPORT_URL");
    EXPECT_EQ(openReportWindows(), 0);
    EXPECT_FALSE(isErrorReportOpen());
    ASSERT_EQ(server.requests(), 1);
    const auto pairs = test::decodedQuery(server.target());
    ASSERT_EQ(pairs.size(), 8u);
    EXPECT_EQ(pairs[1].second, QStringLiteral("me@example.test"));
    EXPECT_EQ(pairs[7].second, QStringLiteral("clicked Save & then=crash\nline two"));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, reportThankYouMessage());
}

TEST(ErrorReportWindow, RefusedOrFailingServerShowsTheFailureNotTheThanks) {
    test::TempAppFolder app;
    test::ReportTestServer failing(500);
    for (const QByteArray& base :
         {failing.base().toEncoded(),
          QByteArray("http://127.0.0.1:") + QByteArray::number(test::refusedPort())}) {
        qputenv("PICBASKET_REPORT_URL", base);
        test::MessageRecorder messages;
        ReportWindowScope scope(std::make_shared<HttpReportSender>(10000));
        whenShown([] {
            openReportWindow()->findChild<QPushButton*>(QStringLiteral("cmdSend"))->click();
        });
        subGlobalErrorHandler(QStringLiteral("Overflow"), 6, 7, QStringLiteral("frmMain.subSetup"));
        ASSERT_EQ(messages.shown().size(), 1u) << base.constData();
        EXPECT_EQ(messages.shown()[0].style, mb::Critical);
        EXPECT_TRUE(messages.shown()[0].text.startsWith(
            QStringLiteral("The error report could not be sent.")))
            << messages.shown()[0].text.toStdString();
        EXPECT_NE(messages.shown()[0].text, reportThankYouMessage());
    }
    qunsetenv("PICBASKET_REPORT_URL");
}

TEST(ErrorReportWindow, ErrorWhileTheReportIsOpenOpensNoSecondReport) {
    test::TempAppFolder app;
    auto sender = std::make_shared<FakeReportSender>();
    ReportWindowScope scope(sender);
    int windowsDuringNested = -1;
    QString shownRoutine;
    whenShown([&] {
        EXPECT_TRUE(isErrorReportOpen());
        // Returns at once: the open report stays the only one.
        subGlobalErrorHandler(QStringLiteral("Type mismatch"), 13, 0,
                              QStringLiteral("frmMain.tmrFolder_Timer"));
        windowsDuringNested = openReportWindows();
        frmErrorReport* form = openReportWindow();
        shownRoutine = labelText(*form, "lblRoutine");
        form->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
    });
    const int before = errorReportCount();
    subGlobalErrorHandler(QStringLiteral("Overflow"), 6, 7, QStringLiteral("frmMain.subSetup"));
    EXPECT_EQ(windowsDuringNested, 1);
    EXPECT_EQ(shownRoutine, QStringLiteral("frmMain.subSetup"));
    EXPECT_EQ(errorReportCount(), before + 2) << "the nested error is still recorded";
    EXPECT_FALSE(isErrorReportOpen());
    EXPECT_TRUE(sender->sent.empty());

    // The next error after the report closed is shown again.
    bool shownAgain = false;
    whenShown([&] {
        shownAgain = openReportWindows() == 1;
        openReportWindow()->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
    });
    subGlobalErrorHandler(QStringLiteral("Overflow"), 6, 8, QStringLiteral("frmMain.subSetup"));
    EXPECT_TRUE(shownAgain);
}
