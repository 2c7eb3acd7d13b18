#include "platform/shell/modShell.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

using namespace picbasket;

// Without a desktop handler (the offscreen platform has none) a page goes to the
// first browser $BROWSER names that exists, as a file address.
TEST(ModShell, APageGoesToTheFirstBrowserTheUserNames) {
    QTemporaryDir dir;
    const QString heard = dir.filePath("heard");
    const QString script = dir.filePath("browser.sh");
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(("#!/bin/sh\necho \"$1\" > '" + heard + "'\n").toUtf8());
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray previous = qgetenv("BROWSER");
    qputenv("BROWSER", ("no-such-browser-here:" + script).toUtf8());
    const QString page = dir.filePath("manual/index.html");
    const bool started = subOpenInBrowser(page);
    qputenv("BROWSER", previous);
    ASSERT_TRUE(started);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile(heard).size() > 0; }, 10000));
    QFile answer(heard);
    ASSERT_TRUE(answer.open(QIODevice::ReadOnly));
    EXPECT_EQ(answer.readAll().trimmed(), QUrl::fromLocalFile(page).toString().toUtf8());
    EXPECT_FALSE(subOpenInBrowser("  "));
}
