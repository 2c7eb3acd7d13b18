#include "core/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace picbasket;

// Every way in refuses a pipe without waiting for a writer (the alarm ends a run
// that blocks), and reads a regular file through a link.
TEST(RegularFile, PipesAreRefusedAtOnceAndRegularFilesReadOnEveryWayIn) {
    ::alarm(30);
    QTemporaryDir dir;
    const QString pipe = dir.filePath("pipe.jpg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString file = dir.filePath("a.bin");
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("abc");
    out.close();
    const QString link = dir.filePath("link.bin");
    ASSERT_TRUE(QFile::link(file, link));

    QString why;
    QFile pipeFile(pipe);
    EXPECT_FALSE(openRegularFile(pipeFile, &why));
    EXPECT_EQ(why, "It is not a regular file.");
    EXPECT_EQ(openRegularStream(pipe), nullptr);
    EXPECT_EQ(openRegularDescriptor(pipe), -1);
    EXPECT_FALSE(fncIsRegularFile(pipe));

    for (const QString& path : {file, link}) {
        QFile in(path);
        ASSERT_TRUE(openRegularFile(in)) << qPrintable(path);
        EXPECT_EQ(in.readAll(), QByteArray("abc"));
        std::FILE* stream = openRegularStream(path);
        ASSERT_NE(stream, nullptr);
        char bytes[4] = {};
        EXPECT_EQ(std::fread(bytes, 1, 3, stream), 3u);
        EXPECT_STREQ(bytes, "abc");
        std::fclose(stream);
    }
    ::alarm(0);
}
