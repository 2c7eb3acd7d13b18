#include "core/AppPaths.h"
#include "core/ScreenTwips.h"
#include "core/setup/modSetup.h"
#include "tests/common/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace picbasket;

namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        qputenv(name_, value.toLocal8Bit());
    }
    ~ScopedEnv() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

QStringList filesUnder(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    return files;
}

// A fresh home with its XDG folders, a pictures folder named by user-dirs.dirs, and a
// program folder of its own, writable or not. No override of the data root: the real
// resolution runs.
class AppPathsXdgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(home() + "/cfg"));
        ASSERT_TRUE(QDir().mkpath(home() + "/Bilder"));
        ASSERT_TRUE(QDir().mkpath(program()));
        QFile dirs(home() + "/cfg/user-dirs.dirs");
        ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
        dirs.write("XDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
        dirs.close();
        AppPaths::resetOverrides();
        // The real resolution: without Qt's test mode, which the test run turns on.
        previousTestMode_ = QStandardPaths::isTestModeEnabled();
        QStandardPaths::setTestModeEnabled(false);
        AppPaths::overrideProgramFolder(program());
        AppPaths::overrideExecutableName(QStringLiteral("picbasket"));
        previousName_ = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(QStringLiteral("PicBasket"));
        overrideTwipsPerPixel(15, 15);
    }
    void TearDown() override {
        QFile::setPermissions(program(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCoreApplication::setApplicationName(previousName_);
        QStandardPaths::setTestModeEnabled(previousTestMode_);
        AppPaths::resetOverrides();
        resetTwipsPerPixel();
        picbasket::Setup = typSetup{};
        SetupFile.clear();
    }
    QString home() const { return root_.path(); }
    QString program() const { return root_.path() + "/opt/picbasket/bin"; }

    QTemporaryDir root_;
    ScopedEnv home_{"HOME", root_.path()};
    ScopedEnv config_{"XDG_CONFIG_HOME", root_.path() + "/cfg"};
    ScopedEnv cache_{"XDG_CACHE_HOME", root_.path() + "/cache"};
    ScopedEnv state_{"XDG_STATE_HOME", root_.path() + "/state"};
    QString previousName_;
    bool previousTestMode_ = false;
};

} // namespace

TEST_F(AppPathsXdgTest, EveryPerUserFolderFollowsTheXdgVariables) {
    EXPECT_EQ(AppPaths::dataRoot(), home() + "/cfg/PicBasket");
    EXPECT_EQ(AppPaths::setupFile(), home() + "/cfg/PicBasket/picbasket.setup");
    EXPECT_EQ(AppPaths::picturesFolder(), home() + "/Bilder");
    EXPECT_EQ(AppPaths::startFolder(), home() + "/Bilder");
    EXPECT_EQ(AppPaths::reportFolder(), home() + "/state/PicBasket/reports");

    const QString temp = AppPaths::tempPageFolder();
    EXPECT_TRUE(temp.startsWith(home() + "/cache/")) << temp.toStdString();
    const QFileInfo info(temp);
    ASSERT_TRUE(info.isDir());
    EXPECT_EQ(info.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                    QFile::ReadOther | QFile::WriteOther | QFile::ExeOther),
              QFile::Permissions());
}

TEST_F(AppPathsXdgTest, WithoutAPicturesFolderTheDefaultsUseTheHome) {
    ASSERT_TRUE(QDir(home() + "/Bilder").removeRecursively());
    const typSetup defaults = fncSetupDefaults();
    EXPECT_EQ(defaults.LastFolder, home());
    EXPECT_EQ(defaults.BatchSave.DestinationFolder, home());
    EXPECT_EQ(defaults.BasketList.Folder, home());
    // The capture and scan folders stay in the (missing) pictures folder, which the
    // first capture makes.
    EXPECT_EQ(defaults.Capture.Folder, home() + "/Bilder/Captured");
    EXPECT_EQ(defaults.Twain.Folder, home() + "/Bilder/Acquired/");
}

TEST_F(AppPathsXdgTest, StateFolderWithoutTheVariableIsUnderLocalState) {
    qunsetenv("XDG_STATE_HOME");
    EXPECT_EQ(AppPaths::reportFolder(), home() + "/.local/state/PicBasket/reports");
}

// A start and an exit, from a writable and from a read-only program folder: the setup
// lands in the config folder, its defaults in the pictures folder, and nothing beside
// the program. A setup an earlier build left beside the program is not read.
TEST_F(AppPathsXdgTest, ARunWritesNothingBesideTheProgram) {
    for (const bool writable : {true, false}) {
        SCOPED_TRACE(writable ? "writable program folder" : "read-only program folder");
        QFile old(program() + "/picbasket.setup");
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(400, '\x01'));
        old.close();
        QFile::remove(AppPaths::setupFile());
        if (!writable)
            QFile::setPermissions(program(), QFile::ReadOwner | QFile::ExeOwner);
        test::MessageRecorder messages;
        test::ErrorRecorder errors;

        subLoadSetup();
        EXPECT_TRUE(messages.shown().empty()) << "the old file beside the program was read";
        EXPECT_EQ(picbasket::Setup.LastFolder, home() + "/Bilder");
        subSaveSetup();
        AppPaths::tempPageFolder();

        EXPECT_TRUE(errors.reports().empty());
        EXPECT_TRUE(QFileInfo(home() + "/cfg/PicBasket/picbasket.setup").isFile());
        EXPECT_EQ(filesUnder(program()), QStringList{program() + "/picbasket.setup"});
        EXPECT_EQ(QFileInfo(program() + "/picbasket.setup").size(), 400);
        QFile::setPermissions(program(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

// Qt's test mode moves the config and cache folders into ~/.qttest; the paths follow.
TEST_F(AppPathsXdgTest, TestModeMovesConfigCacheAndState) {
    QStandardPaths::setTestModeEnabled(true);
    const QString setup = AppPaths::setupFile();
    const QString temp = AppPaths::tempPageFolder();
    const QString reports = AppPaths::reportFolder();
    QStandardPaths::setTestModeEnabled(false);
    EXPECT_EQ(setup, home() + "/.qttest/config/PicBasket/picbasket.setup");
    EXPECT_TRUE(temp.startsWith(home() + "/.qttest/cache/")) << temp.toStdString();
    EXPECT_EQ(reports, home() + "/.qttest/state/PicBasket/reports");
}

// The temporary page folder is private from the start; one that is a link or
// belongs to another user is never used, and the user is told.
TEST_F(AppPathsXdgTest, TempPageFolderIsMadePrivateAndRefusedWhenNotTheUsers) {
    test::MessageRecorder messages;
    const mode_t previousMask = ::umask(0);
    const QString temp = AppPaths::tempPageFolder();
    ::umask(previousMask);
    struct stat made {};
    ASSERT_EQ(::lstat(QFile::encodeName(temp).constData(), &made), 0);
    EXPECT_TRUE(S_ISDIR(made.st_mode));
    EXPECT_EQ(made.st_mode & 0777, 0700u);
    EXPECT_TRUE(messages.shown().empty());

    // A link in its place, to a folder another user could read.
    ASSERT_TRUE(QDir(temp).removeRecursively());
    const QString elsewhere = home() + "/elsewhere";
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    ASSERT_TRUE(QFile::link(elsewhere, temp));
    const QString instead = AppPaths::tempPageFolder();
    EXPECT_NE(instead, temp);
    EXPECT_FALSE(instead.startsWith(elsewhere));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.contains(temp)) << qPrintable(messages.shown()[0].text);
    EXPECT_TRUE(messages.shown()[0].text.contains("link"));
    ASSERT_TRUE(QFile::remove(temp));

    // A folder of another user (only root can make one).
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give a folder to another user";
    const passwd* nobody = ::getpwnam("nobody");
    if (!nobody)
        GTEST_SKIP() << "no user nobody";
    ASSERT_TRUE(QDir().mkpath(temp));
    ASSERT_EQ(::chown(QFile::encodeName(temp).constData(), nobody->pw_uid, nobody->pw_gid), 0);
    EXPECT_NE(AppPaths::tempPageFolder(), temp);
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_TRUE(messages.shown()[1].text.contains("another user"));
}
