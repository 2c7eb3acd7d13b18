#include "core/MessageBox.h"
#include "core/fileinfo/clsFileInfo.h"
#include "tests/common/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace picbasket;

namespace {

// Sets the default locale for one test and restores the previous one.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale& locale) : previous_(QLocale()) {
        QLocale::setDefault(locale);
    }
    ~LocaleScope() { QLocale::setDefault(previous_); }

private:
    QLocale previous_;
};

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

struct SizeCase {
    int64_t size;
    const char* mode0;
    const char* mode1;
};

// Expected texts in the C locale; the comma-decimal locale swaps "." and ",".
const SizeCase kSizes[] = {
    {-1, "0.0KB (0 bytes)", "0.0KB (0 bytes)"},
    {0, "0 bytes", "0 bytes"},
    {1023, "1,023 bytes", "1,023 bytes"},
    {1536, "1.50KB", "1.50KB (1,536 bytes)"},
    {10239, "10.00KB", "10.00KB (10,239 bytes)"},
    {10240, "10.0KB", "10.0KB (10,240 bytes)"},
    {1024000, "0.98MB", "0.98MB (1,024,000 bytes)"},
    {10240000, "9.8MB", "9.8MB (10,240,000 bytes)"},
    {1024000000, "0.95GB", "0.95GB (1,024,000,000 bytes)"},
    {3221225472LL, "3.00GB", "3.00GB (3,221,225,472 bytes)"},
};

QString swapSeparators(QString text) {
    for (QChar& c : text)
        c = c == QLatin1Char('.') ? QLatin1Char(',') : c == QLatin1Char(',') ? QLatin1Char('.') : c;
    return text;
}

} // namespace

TEST(FileInfoSizeText, TableInCAndCommaLocales) {
    for (const bool comma : {false, true}) {
        LocaleScope scope(comma ? QLocale(QLocale::German, QLocale::Germany) : QLocale::c());
        for (const SizeCase& c : kSizes) {
            // The -1 text is a fixed literal, whatever the locale.
            const auto expect = [&](const char* text) {
                return comma && c.size != -1 ? swapSeparators(QString::fromLatin1(text))
                                             : QString::fromLatin1(text);
            };
            EXPECT_EQ(clsFileInfo::sizeText(c.size, 0), expect(c.mode0))
                << c.size << " comma=" << comma;
            EXPECT_EQ(clsFileInfo::sizeText(c.size, 1), expect(c.mode1))
                << c.size << " comma=" << comma;
        }
    }
}

TEST(FileInfoSizeText, ModeAskedForIsTheModeReturned) {
    QTemporaryDir dir;
    clsFileInfo info;
    info.setFilePath(writeFile(dir, QStringLiteral("a.bin"), QByteArray(1536, 'x')));
    LocaleScope scope(QLocale::c());
    EXPECT_EQ(info.fSizeFormated(1), QStringLiteral("1.50KB (1,536 bytes)"));
    EXPECT_EQ(info.fSizeFormated(0), QStringLiteral("1.50KB"));
    EXPECT_EQ(info.fSizeFormated(1), QStringLiteral("1.50KB (1,536 bytes)"));
}

TEST(FileInfo, SizesBeyondFourGigabytesAreExact) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.raw"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // Sparse on every usual file system: no real disk space is used.
    if (!file.resize(5LL * 1024 * 1024 * 1024 + 7))
        GTEST_SKIP() << "the temporary file system cannot hold a sparse 5 GiB file";
    file.close();
    clsFileInfo info;
    info.setFilePath(path);
    EXPECT_EQ(info.fSize(), 5LL * 1024 * 1024 * 1024 + 7);
    LocaleScope scope(QLocale::c());
    EXPECT_EQ(info.fSizeFormated(0), QStringLiteral("5.00GB"));
}

TEST(FileInfoExists, OnlyReadableRegularFilesCount) {
    QTemporaryDir dir;
    const QString file = writeFile(dir, QStringLiteral("photo.jpeg"), "x");
    const QString folder = dir.filePath(QStringLiteral("sub"));
    QDir().mkdir(folder);
    const QString goodLink = dir.filePath(QStringLiteral("good.lnk"));
    QFile::link(file, goodLink);
    const QString danglingLink = dir.filePath(QStringLiteral("dangling.lnk"));
    QFile::link(dir.filePath(QStringLiteral("gone.jpg")), danglingLink);
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

    const struct {
        const char* what;
        QString path;
        bool exists;
    } cases[] = {
        {"regular file", file, true},
        {"link to a file", goodLink, true},
        {"missing file", dir.filePath(QStringLiteral("missing.jpg")), false},
        {"dangling link", danglingLink, false},
        {"directory", folder, false},
        {"fifo (must not block)", fifo, false},
        {"empty path", QString(), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(clsFileInfo::CheckIfFileExists(c.path), c.exists) << c.what;
}

TEST(FileInfoExists, UnreadableFileCountsAsMissingAndLeavesNothing) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("locked.jpg"), "data");
    QFile::setPermissions(path, QFile::WriteOwner);
    clsFileInfo info;
    info.setFilePath(path);
    EXPECT_FALSE(clsFileInfo::CheckIfFileExists(path));
    EXPECT_EQ(info.fSize(), 0);
    EXPECT_TRUE(info.fName32bit().isEmpty());
    EXPECT_TRUE(info.fSizeFormated(1).isEmpty());
}

TEST(FileInfo, NamesTypeAndFlagsOfAnImageFile) {
    QTemporaryDir dir;
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString path = dir.filePath(QStringLiteral("photo.jpeg"));
    ASSERT_TRUE(image.save(path, "JPEG"));
    clsFileInfo info;
    info.setFilePath(path);
    EXPECT_EQ(info.FilePath(), path);
    EXPECT_EQ(info.fFileExtention(), QStringLiteral("JPEG"));
    EXPECT_EQ(info.fName32bit(), QStringLiteral("photo.jpeg"));
    EXPECT_EQ(info.fName16bit(), QStringLiteral("photo.jpeg"));
    EXPECT_EQ(info.fPath16bit(), path) << "short paths are never upper-cased";
    EXPECT_EQ(info.fLocation(), dir.path() + QLatin1Char('/'));
    EXPECT_FALSE(info.fType().isEmpty());
    EXPECT_EQ(info.fSize(), QFileInfo(path).size());
    EXPECT_TRUE(info.fATTR_Normal());
    EXPECT_FALSE(info.fATTR_Hidden());
    EXPECT_FALSE(info.fATTR_ReadOnly());
    EXPECT_FALSE(info.fATTR_Archive() || info.fATTR_System() || info.fATTR_Compressed() ||
                 info.fATTR_Temporary());
    EXPECT_EQ(info.fTargetOS(), QStringLiteral("Undefined or Unknown"));
    EXPECT_TRUE(info.fVersion().isEmpty() && info.fCompanyName().isEmpty() &&
                info.fProductName().isEmpty());
    EXPECT_EQ(info.fSizeCompressedFormated(), QStringLiteral("Not Compressed"));
}

TEST(FileInfo, TypeTextWithoutKnownType) {
    QTemporaryDir dir;
    const QByteArray binary("\x00\x01\x02\xff\xfe", 5);
    clsFileInfo info;
    info.setFilePath(writeFile(dir, QStringLiteral("blob"), binary));
    EXPECT_EQ(info.fFileExtention(), QString());
    EXPECT_EQ(info.fType(), QStringLiteral("File"));
    info.setFilePath(writeFile(dir, QStringLiteral("data.zzqq"), binary));
    EXPECT_EQ(info.fType(), QStringLiteral("ZZQQ File"));
    info.setFilePath(writeFile(dir, QStringLiteral("notes"), "plain words\n"));
    EXPECT_FALSE(info.fType().isEmpty());
}

TEST(FileInfo, HiddenMeansLeadingDot) {
    QTemporaryDir dir;
    clsFileInfo info;
    info.setFilePath(writeFile(dir, QStringLiteral(".secret.png"), "x"));
    EXPECT_TRUE(info.fATTR_Hidden());
    EXPECT_FALSE(info.fATTR_Normal());
    EXPECT_EQ(info.fFileExtention(), QStringLiteral("PNG"));
}

TEST(FileInfo, MissingFileClearsTheCache) {
    QTemporaryDir dir;
    clsFileInfo info;
    info.setFilePath(writeFile(dir, QStringLiteral("a.tif"), "abc"));
    ASSERT_EQ(info.fSize(), 3);
    info.setFilePath(dir.filePath(QStringLiteral("nothing.tif")));
    EXPECT_EQ(info.fSize(), 0);
    EXPECT_TRUE(info.fName32bit().isEmpty());
    EXPECT_TRUE(info.fFileExtention().isEmpty());
    EXPECT_TRUE(info.fType().isEmpty());
    EXPECT_TRUE(info.fDateModified().isEmpty());
    EXPECT_FALSE(info.dateModified().isValid());
    EXPECT_TRUE(info.fTargetOS().isEmpty());
    EXPECT_TRUE(info.fIconH().isNull());
}

TEST(FileInfo, DatesHaveNoTimeZoneAndMatchTheGetters) {
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("d.bmp"), "x");
    const QDateTime when(QDate(2004, 1, 5), QTime(15, 7, 9));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
    file.close();
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
                                  QLocale(QLocale::English, QLocale::UnitedStates)}) {
        LocaleScope scope(locale);
        clsFileInfo info;
        info.setFilePath(path);
        EXPECT_EQ(info.dateModified(), when);
        const QString text = info.fDateModified();
        EXPECT_TRUE(text.startsWith(locale.toString(when.date(), QLocale::ShortFormat)))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("07:09")) || text.contains(QStringLiteral("7:09")))
            << text.toStdString();
        // Ends with the seconds or the day-period marker, never a zone name or offset.
        EXPECT_TRUE(QRegularExpression(QStringLiteral("(09|[AP]M)$")).match(text).hasMatch())
            << text.toStdString();
        EXPECT_TRUE(info.dateCreated().isValid());
        EXPECT_FALSE(info.fDateAccessed().isEmpty());
    }
}

TEST(FileInfo, ReadOnlyAndNormalChangeTheFile) {
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("r.gif"), "x");
    clsFileInfo info;
    info.setFilePath(path);
    EXPECT_TRUE(info.setATTR_ReadOnly(true));
    EXPECT_TRUE(info.fATTR_ReadOnly());
    EXPECT_FALSE(info.fATTR_Normal());
    EXPECT_EQ(QFile::permissions(path) &
                  (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther),
              QFile::Permissions());
    EXPECT_TRUE(info.setATTR_Normal(true));
    EXPECT_FALSE(info.fATTR_ReadOnly());
    EXPECT_TRUE(QFile::permissions(path) & QFile::WriteOwner);
    // Attributes Linux has no room for are refused, not pretended.
    EXPECT_FALSE(info.setATTR_Archive(true));
    EXPECT_FALSE(info.setATTR_Hidden(true));
    EXPECT_FALSE(info.fATTR_Hidden());
}

TEST(FileInfoPaths, StripNameAndExtension) {
    const struct {
        const char* in;
        const char* name;
        const char* ext;
    } cases[] = {
        {"/a/b/photo.final.jp2", "photo.final.jp2", "jp2"},
        {"photo.jpg", "", "jpg"},
        {"/a.b/readme", "readme", "b/readme"},
        {"/a/b/", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(clsFileInfo::StripFileFromPath(QString::fromLatin1(c.in)),
                  QString::fromLatin1(c.name))
            << c.in;
        EXPECT_EQ(clsFileInfo::StripFileExtention(QString::fromLatin1(c.in)),
                  QString::fromLatin1(c.ext))
            << c.in;
    }
}

TEST(FileInfoPaths, ShortFormIsThePathAndMissingFileSaysSo) {
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("Mixed Case.Jpeg"), "x");
    test::MessageRecorder messages;
    EXPECT_EQ(clsFileInfo::ConvertLong2Short(path), path);
    EXPECT_TRUE(messages.shown().empty());
    const QString missing = dir.filePath(QStringLiteral("gone.jpg"));
    EXPECT_TRUE(clsFileInfo::ConvertLong2Short(missing).isEmpty());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("  File Not Found"));
    EXPECT_EQ(messages.shown()[0].style, mb::Exclamation);
    EXPECT_EQ(messages.shown()[0].text,
              missing + QStringLiteral(
                            "\r\n\r\nCould not find this file to convert to 16bit file name."));
}

TEST(FileInfo, IconIsDrawnAndTheSharedInstanceIsOne) {
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("i.png"), "x");
    EXPECT_EQ(&FileInfo(), &FileInfo());
    FileInfo().setFilePath(path);
    EXPECT_EQ(FileInfo().fName32bit(), QStringLiteral("i.png"));
    QImage canvas(40, 40, QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    FileInfo().GetFileIcon(painter, 4, 4); // draws the theme's icon, or nothing without one
    painter.end();
    FileInfo().setFilePath(QString());
    EXPECT_TRUE(FileInfo().fName32bit().isEmpty());
}

TEST(FileInfoStripDateTime, LongTextsBecomeNumbers) {
    const struct {
        const char* in;
        bool stripTime, stripDate, fourDigits;
        const char* out;
    } cases[] = {
        {"Monday, January 5, 2004 3:07:09 PM", false, false, true, "01/05/2004 15:07:09"},
        {"Monday, January 5, 2004 3:07:09 PM", false, false, false, "01/05/04 15:07:09"},
        {"Monday, January 5, 2004 3:07:09 PM", true, false, true, "01/05/2004"},
        {"Monday, January 5, 2004 3:07:09 PM", false, true, true, "15:07:09"},
        {"sunday, 31 december 1999 12:00:00 am", false, false, true, "12/31/1999 00:00:00"},
        {"Friday, March 12, 2010 12:30:00 PM", false, false, false, "03/12/10 12:30:00"},
        {"nothing here", false, false, true, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(clsFileInfo::Strip_DateTime(QString::fromLatin1(c.in), c.stripTime, c.stripDate,
                                              c.fourDigits),
                  QString::fromLatin1(c.out))
            << c.in;
}
