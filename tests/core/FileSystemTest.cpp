#include "core/AppPaths.h"
#include "core/modFileSystem.h"
#include "tests/common/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace picbasket;

TEST(FileNames, ExtensionAndStrip) {
    const struct { const char* path; const char* ext; const char* stripped; } rows[] = {
        {"photo.final.jp2", "jp2", "photo.final"},
        {"readme", "readme", "readme"},
        {"/home/u/.cache/scan", "/home/u/.cache/scan", "/home/u/.cache/scan"},
        {"/home/u/.cache/scan.tif", "tif", "/home/u/.cache/scan"},
        {"/a.b/c", "/a.b/c", "/a.b/c"},
        {"name.", "", "name"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(fncGetFileExtension(QString::fromLatin1(r.path)), QString::fromLatin1(r.ext)) << r.path;
        EXPECT_EQ(fncStripFileExtension(QString::fromLatin1(r.path)), QString::fromLatin1(r.stripped)) << r.path;
    }
}

TEST(FileNames, FolderOfPath) {
    EXPECT_EQ(fncGetFolderFromPath(QStringLiteral("/a/b.tif")), QStringLiteral("/a/"));
    EXPECT_EQ(fncGetFolderFromPath(QStringLiteral("b.tif")), QString());
    EXPECT_EQ(fncGetFolderFromPath(QStringLiteral("/home/u/.cache/scan")), QStringLiteral("/home/u/.cache/"));
}

TEST(FileNames, AddBackslash) {
    const struct { const char* in; const char* result; const char* after; } rows[] = {
        {"/a", "/a/", "/a/"},
        {"/a/", "/a/", "/a/"},
        {"  /a  ", "/a/", "/a/"},
        {"   ", "", "   "},
        {"", "", ""},
    };
    for (const auto& r : rows) {
        QString path = QString::fromLatin1(r.in);
        EXPECT_EQ(subAddBackslash(path), QString::fromLatin1(r.result)) << r.in;
        EXPECT_EQ(path, QString::fromLatin1(r.after)) << r.in;
    }
}

TEST(FileSystem, ExistenceAndCreation) {
    test::TempAppFolder root;
    test::MessageRecorder messages;
    const QString folder = root.file(QStringLiteral("sub"));
    const QString file = root.file(QStringLiteral("f.txt"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();

    EXPECT_TRUE(fncFileExists(file));
    EXPECT_TRUE(fncFileExists(QStringLiteral("  ") + file + QStringLiteral(" ")));
    EXPECT_FALSE(fncFileExists(root.path()));
    EXPECT_FALSE(fncFileExists(QStringLiteral("   ")));
    EXPECT_FALSE(fncFolderExists(file, true));
    EXPECT_FALSE(fncFolderExists(folder, true));

    EXPECT_TRUE(subCreateDirectory(folder));
    EXPECT_TRUE(fncFolderExists(folder, true));
    EXPECT_TRUE(messages.shown().empty());

    // One level only: a missing parent is a failure with its message.
    EXPECT_FALSE(subCreateDirectory(root.file(QStringLiteral("x/y"))));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Error creating directory"));
}

TEST(FileSystem, PrivateTempFolder) {
    const QString temp = fncGetTempPath();
    ASSERT_TRUE(temp.endsWith('/'));
    const QFileInfo info(temp);
    EXPECT_TRUE(info.isDir());
    EXPECT_EQ(info.permissions() & (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup | QFile::WriteGroup),
              QFile::Permissions());
    EXPECT_EQ(fncGetTempPath(), temp);
}

TEST(AppPathsTest, SetupFileIsNeverTheProgram) {
    test::TempAppFolder root;
    EXPECT_EQ(AppPaths::setupFile(), root.path() + QStringLiteral("/picbasket.setup"));
    EXPECT_EQ(AppPaths::tempPageFolder(), root.path() + QStringLiteral("/temp"));
    AppPaths::resetOverrides();
    EXPECT_TRUE(AppPaths::setupFile().endsWith(QStringLiteral(".setup")));
}
