#include "engine/loading/LoadFailure.h"
#include "core/AppError.h"
#include "core/RegularFile.h"
#include "engine/loading/clsImageHeaderInfo.h"
#include "engine/loading/modBitmapPro.h"
#include "platform/imagebox/ImageBox.h"
#include "tests/common/DamagedImageFiles.h"
#include "tests/common/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace picbasket;

namespace {

// Ends the test process when a step that must return at once has not after a
// while: a pipe opened for reading would otherwise hang the suite without a word.
class AlarmWatchdog {
public:
    explicit AlarmWatchdog(unsigned seconds) { ::alarm(seconds); }
    ~AlarmWatchdog() { ::alarm(0); }
};

// A folder holding one of each kind of name that is no readable image.
class NoImageFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.jpg")).constData(), 0600), 0);
        ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.png")).constData(), 0600), 0);
        ASSERT_TRUE(QFile::link(path("loop.jpg"), path("loop.jpg")));
        ASSERT_TRUE(QFile::link(path("missing.png"), path("dangling.png")));
        ASSERT_TRUE(QDir().mkpath(path("folder.jpg")));
        QFile empty(path("empty.png"));
        ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
        empty.close();
        const QByteArray badName = QFile::encodeName(dir_.path()) + "/caf\xE9.png";
        const int fd = ::open(badName.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        ASSERT_GE(fd, 0);
        ::close(fd);
        badName_ = QFile::decodeName(badName);
        badBytes_ = badName;
        ASSERT_TRUE(QImage(4, 4, QImage::Format_RGB32).save(path("sound.png")));
    }
    // The folder's clean-up cannot name the file whose name is no UTF-8.
    void TearDown() override { ::unlink(badBytes_.constData()); }
    QString path(const QString& name) const { return QDir(dir_.path()).filePath(name); }

    QTemporaryDir dir_;
    QString badName_;
    QByteArray badBytes_;
    AlarmWatchdog watchdog_{60};
};

} // namespace

TEST_F(NoImageFiles, EachReasonSaysWhatHappenedToTheFile) {
    const struct {
        const char* what;
        QString path;
        QString reason;
    } rows[] = {
        {"a named pipe", path("pipe.jpg"), "It is not a regular file."},
        {"a device", QStringLiteral("/dev/zero"), "It is not a regular file."},
        {"a link to itself", path("loop.jpg"), "It is a link that leads nowhere."},
        {"a link to nothing", path("dangling.png"), "It is a link that leads nowhere."},
        {"a name gone", path("gone.png"), "The file no longer exists."},
        {"a name of no UTF-8", badName_, "Its name cannot be read."},
        {"a folder", path("folder.jpg"), "It is a folder."},
        {"a file of 0 bytes", path("empty.png"), "The file is empty."},
    };
    for (const auto& row : rows)
        EXPECT_EQ(fncLoadFailureReason(row.path, "the decoder's words"), row.reason) << row.what;
    EXPECT_TRUE(fncIsRegularFile(path("sound.png")));
    QFile file(path("sound.png"));
    ASSERT_TRUE(openRegularFile(file));
    EXPECT_EQ(file.readAll().left(4), QByteArray("\x89PNG"));
}

// The load entry, the image box and the header reader give up on a pipe at once
// instead of waiting for a writer.
TEST_F(NoImageFiles, EveryReaderReturnsAtOnceOnAPipe) {
    test::ErrorRecorder errors;
    for (const char* name : {"pipe.jpg", "pipe.png"}) {
        int32_t width = 0;
        int32_t height = 0;
        for (int32_t mode : {sizemode::Original, sizemode::Box})
            EXPECT_TRUE(
                LoadPic(path(name), mode, 64, 64, OleColor(0xFFFFFF), width, height).isNull())
                << name;
        ImageBox box;
        EXPECT_FALSE(box.ReadsFile(path(name)));
        EXPECT_THROW(box.LoadFromFile(path(name)), AppError) << name;
        EXPECT_THROW(box.LoadFromFileForView(path(name), 64, 64), AppError) << name;
        clsImageHeaderInfo header;
        EXPECT_FALSE(header.ReadJPEG_TIFF_PNG_Header(path(name))) << name;
        EXPECT_THROW(header.ReadGIF_BMP_Header(path(name)), AppError) << name;
    }
    EXPECT_TRUE(errors.reports().empty());
}

// Damage a decoder finds inside a file of sound structure is said in a plain
// sentence; the library's own words stay out of it.
TEST(LoadFailureCorrupt, DecoderDamageIsSaidInPlainWords) {
    QTemporaryDir dir;
    const auto files = test::makeInnerDamagedFiles(dir.path());
    if (files.empty())
        GTEST_SKIP() << "ImageMagick's convert is needed to make the damaged files";
    for (const auto& file : files) {
        ImageBox box;
        QString words;
        try {
            box.LoadFromFile(file.path);
        } catch (const AppError& error) {
            words = error.description();
        }
        ASSERT_FALSE(words.isEmpty()) << qPrintable(file.name);
        const QString reason = fncLoadFailureReason(file.path, words);
        const QString plain = "The file is damaged: its image data is cut short or garbled.";
        // Damage the structure check finds is said in its own words, which are ours.
        if (file.name.endsWith(".tif")) {
            EXPECT_EQ(reason, plain) << qPrintable(file.name + ": " + words);
        } else {
            EXPECT_TRUE(reason == plain || reason.contains(" file is damaged: "))
                << qPrintable(file.name + ": " + reason);
        }
    }
}
