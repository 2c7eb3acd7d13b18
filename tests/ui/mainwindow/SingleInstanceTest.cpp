#include "shell/mainwindow/SingleInstance.h"
#include "tests/ui/mainwindow/MainWindowFixture.h"

#include <QSysInfo>

using namespace picbasket;
using picbasket::test::MainWindowTest;

namespace {

// A lock file as a copy that died without removing it leaves behind: its process
// number belongs to no running process.
void writeStaleLock(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("2147480000\npicbasket\n" + QSysInfo::machineHostName().toUtf8() + "\n");
}

} // namespace

TEST_F(MainWindowTest, SecondInstanceIsRefusedWithTheMessageAndLeavesTheSetupFile) {
    picbasket::Setup.Splitters.Main = 55;
    writeSetupFile();
    const QByteArray before = setupFileBytes();
    InstanceLock first(fncInstanceLockFile());
    ASSERT_TRUE(first.tryAcquire());

    {
        frmMain second;
        EXPECT_FALSE(second.Form_Load());
        EXPECT_FALSE(second.FormLoaded);
        second.close();
    }

    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text,
              QStringLiteral("There is already an instance of PicBasket running!\r\n"
                             "Multiple instance is unsupported."));
    EXPECT_EQ(messages.shown()[0].style, mb::Critical | mb::OKOnly);
    EXPECT_EQ(setupFileBytes(), before);
}

TEST_F(MainWindowTest, StaleLockDoesNotStopTheStart) {
    writeStaleLock(fncInstanceLockFile());
    start();
    EXPECT_TRUE(window->FormLoaded);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(MainWindowTest, LockIsFreeAgainAfterExit) {
    start();
    closeWindow();
    InstanceLock next(fncInstanceLockFile());
    EXPECT_TRUE(next.tryAcquire());
}
