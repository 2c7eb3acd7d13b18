#include "engine/jpeg2000/modJPEG2000.h"
#include "core/AppError.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

// The real control, with every member call written down (name and arguments) before
// it is carried out.
class RecordingAxImage : public AxImage {
public:
    mutable QStringList calls;

    int32_t FormatFromExtension(const QString& ext) const override {
        calls << QStringLiteral("FormatFromExtension(%1)").arg(ext);
        return AxImage::FormatFromExtension(ext);
    }
    void SetLoadOption(int32_t option) override {
        calls << QStringLiteral("SetLoadOption(%1)").arg(option);
        AxImage::SetLoadOption(option);
    }
    void LoadFile(const QString& path, int32_t format) override {
        calls << QStringLiteral("LoadFile(%1,%2)").arg(QFileInfo(path).fileName()).arg(format);
        AxImage::LoadFile(path, format);
    }
    void Refresh() override {
        calls << QStringLiteral("Refresh");
        AxImage::Refresh();
    }
    QImage GetBitmapHandle(DeviceContext context) const override {
        calls << QStringLiteral("GetBitmapHandle(%1)").arg(context);
        return AxImage::GetBitmapHandle(context);
    }
    int32_t PaletteHandle() const override {
        calls << QStringLiteral("PaletteHandle");
        return AxImage::PaletteHandle();
    }
    void SetBitmapHandle(const QImage& image) override {
        calls << QStringLiteral("SetBitmapHandle(%1x%2)").arg(image.width()).arg(image.height());
        AxImage::SetBitmapHandle(image);
    }
    void SetCompressionRate(int32_t rate) override {
        calls << QStringLiteral("SetCompressionRate(%1)").arg(rate);
        AxImage::SetCompressionRate(rate);
    }
    void SaveFile(const QString& path, int32_t format) override {
        calls << QStringLiteral("SaveFile(%1,%2)").arg(QFileInfo(path).fileName()).arg(format);
        AxImage::SaveFile(path, format);
    }
};

QImage sampleImage(int width, int height, int seed) {
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           qRgb((x * 7 + seed) % 256, (y * 5 + seed) % 256, (x * y + seed) % 256));
    return image;
}

int errorOf(const std::function<void()>& body) {
    try {
        body();
    } catch (const AppError& e) {
        return e.number();
    }
    return 0;
}

} // namespace

// Saving sets the bitmap, refreshes, sets the rate, asks for the format of the
// extension as written (case kept) and saves.
TEST(modJPEG2000, SaveCallsTheControlInOrder) {
    QTemporaryDir dir;
    const struct {
        const char* file;
        int16_t rate;
        int32_t format;
    } rows[] = {{"a.jp2", 20, AxImage::FormatJp2},
                {"b.jpc", 25, AxImage::FormatCodestream},
                {"c.JP2", 7, AxImage::FormatJp2}};
    for (const auto& row : rows) {
        RecordingAxImage control;
        const QString file = QString::fromLatin1(row.file);
        subSaveJPEG2000(control, sampleImage(12, 9, 1), dir.filePath(file), row.rate);
        const QString ext = file.section(QLatin1Char('.'), -1);
        EXPECT_EQ(control.calls,
                  (QStringList{QStringLiteral("SetBitmapHandle(12x9)"), QStringLiteral("Refresh"),
                               QStringLiteral("SetCompressionRate(%1)").arg(row.rate),
                               QStringLiteral("FormatFromExtension(%1)").arg(ext),
                               QStringLiteral("SaveFile(%1,%2)").arg(file).arg(row.format)}));
        EXPECT_TRUE(QFile::exists(dir.filePath(file)));
    }
}

// Loading asks for the format, sets load option 1, loads, refreshes, then takes the
// bitmap for the caller's context and the palette.
TEST(modJPEG2000, LoadCallsTheControlInOrder) {
    QTemporaryDir dir;
    const QImage image = sampleImage(20, 14, 2);
    AxImage writer;
    subSaveJPEG2000(writer, image, dir.filePath(QStringLiteral("in.jp2")), 25);
    RecordingAxImage control;
    const QImage picture =
        fncLoadJPEG2000(control, 77, dir.filePath(QStringLiteral("in.jp2")), QStringLiteral("jp2"));
    EXPECT_EQ(
        control.calls,
        (QStringList{QStringLiteral("FormatFromExtension(jp2)"), QStringLiteral("SetLoadOption(1)"),
                     QStringLiteral("LoadFile(in.jp2,1)"), QStringLiteral("Refresh"),
                     QStringLiteral("GetBitmapHandle(77)"), QStringLiteral("PaletteHandle")}));
    EXPECT_EQ(picture.convertToFormat(QImage::Format_RGB888), image);
}

// An empty extension skips the decode and returns what the control holds.
TEST(modJPEG2000, EmptyExtensionReturnsWhatTheControlHolds) {
    RecordingAxImage control;
    const QImage held = sampleImage(5, 4, 3);
    control.SetBitmapHandle(held);
    control.calls.clear();
    const QImage picture =
        fncLoadJPEG2000(control, 0, QStringLiteral("/no/such/file.jp2"), QString());
    EXPECT_EQ(control.calls,
              (QStringList{QStringLiteral("FormatFromExtension()"),
                           QStringLiteral("GetBitmapHandle(0)"), QStringLiteral("PaletteHandle")}));
    EXPECT_EQ(picture, held);
}

// The picture of one load stays whole after the control loads the next file.
TEST(modJPEG2000, PictureOutlivesTheNextLoad) {
    QTemporaryDir dir;
    AxImage control;
    const QImage first = sampleImage(16, 16, 4), second = sampleImage(8, 30, 5);
    subSaveJPEG2000(control, first, dir.filePath(QStringLiteral("1.jpc")), 25);
    subSaveJPEG2000(control, second, dir.filePath(QStringLiteral("2.jp2")), 25);
    const QImage one =
        fncLoadJPEG2000(control, 0, dir.filePath(QStringLiteral("1.jpc")), QStringLiteral("jpc"));
    const QImage two =
        fncLoadJPEG2000(control, 0, dir.filePath(QStringLiteral("2.jp2")), QStringLiteral("jp2"));
    EXPECT_EQ(one.convertToFormat(QImage::Format_RGB888), first);
    EXPECT_EQ(two.convertToFormat(QImage::Format_RGB888), second);
}

// Failures reach the caller: a name without a JPEG 2000 extension, a rate off the
// scale, a damaged file; nothing is written for the refused saves.
TEST(modJPEG2000, FailuresReachTheCaller) {
    QTemporaryDir dir;
    AxImage control;
    const QImage image = sampleImage(6, 6, 6);
    EXPECT_EQ(errorOf([&] {
                  subSaveJPEG2000(control, image, dir.filePath(QStringLiteral("x.png")), 20);
              }),
              err::InvalidProcedureCall);
    EXPECT_EQ(
        errorOf([&] { subSaveJPEG2000(control, image, dir.filePath(QStringLiteral("x.jp2")), 0); }),
        err::InvalidProcedureCall);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("x.png"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("x.jp2"))));
    QFile bad(dir.filePath(QStringLiteral("bad.jp2")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a picture");
    bad.close();
    EXPECT_EQ(errorOf([&] { fncLoadJPEG2000(control, 0, bad.fileName(), QStringLiteral("jp2")); }),
              err::InvalidPicture);
}
