#pragma once
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <vector>

// Files of intact length whose data is damaged inside, and sound files that a
// library once refused, made by ImageMagick from one photo-like picture. Shared
// by the image box's, the load entry's and the batch's tests, so that all three
// are held to the same files.
namespace picbasket::test {

struct MadeFile {
    QString name; // file name inside the folder
    QString path;
};

inline bool hasImageMagick() {
    return !QStandardPaths::findExecutable("convert").isEmpty();
}

inline bool runConvert(const QStringList& arguments) {
    QProcess process;
    process.start("convert", arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// Smooth colour with a little noise: every coder has detail to spend bits on.
inline QImage photoLike(int w, int h) {
    QImage image(w, h, QImage::Format_RGB888);
    quint32 state = 4711;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            state = state * 1664525u + 1013904223u;
            const int n = int(state >> 29);
            image.setPixelColor(
                x, y, QColor((x * 2 + n) % 256, (y * 3 + x / 4 + n) % 256, (x + y) % 256));
        }
    return image;
}

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFileBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// The bytes with `count` bytes of `value` written over them at `fraction` of
// their length: the length and every header stay as they were.
inline QByteArray overwritten(QByteArray bytes, double fraction, int count, char value) {
    const qsizetype at = qsizetype(double(bytes.size()) * fraction);
    for (qsizetype i = at; i < at + count && i < bytes.size(); ++i)
        bytes[i] = value;
    return bytes;
}

// The base picture written as a PPM for ImageMagick.
inline QString writeBase(const QString& folder, int w = 160, int h = 120) {
    const QString base = QDir(folder).filePath("base.ppm");
    photoLike(w, h).save(base, "PPM");
    return base;
}

// RLE8 BMPs of 16, 200 and 256 colours as ImageMagick writes them (each row's run
// goes on into the row's padding); empty when ImageMagick is missing.
inline std::vector<MadeFile> makeRle8Bmps(const QString& folder) {
    std::vector<MadeFile> files;
    const QString base = writeBase(folder, 61, 37);
    for (int colours : {16, 200, 256}) {
        const QString name = QString("rle8-%1.bmp").arg(colours);
        const QString path = QDir(folder).filePath(name);
        if (!runConvert(
                {base, "-colors", QString::number(colours), "-compress", "RLE", "BMP3:" + path}))
            return {};
        files.push_back({name, path});
    }
    return files;
}

// The damaged files: a GIF with 500 bytes of 0xFF at half its length, a Group 4
// TIFF and a JPEG-compressed TIFF with 300 zero bytes at 60 %, a JPEG whose
// entropy data has junk at half its length, and one cut inside its entropy data
// with its end marker put back (a camera's grey bottom rows). Empty when
// ImageMagick is missing.
inline std::vector<MadeFile> makeInnerDamagedFiles(const QString& folder) {
    const QString base = writeBase(folder);
    struct Recipe {
        const char* whole;
        QStringList options;
    };
    const Recipe recipes[] = {{"whole.gif", {}},
                              {"whole-g4.tif", {"-monochrome", "-compress", "Group4"}},
                              {"whole-jpeg.tif", {"-compress", "JPEG", "-quality", "90"}},
                              {"whole.jpg", {"-quality", "90"}}};
    for (const Recipe& recipe : recipes) {
        QStringList arguments{base};
        arguments << recipe.options << QDir(folder).filePath(recipe.whole);
        if (!runConvert(arguments))
            return {};
    }
    auto whole = [&](const char* name) { return fileBytes(QDir(folder).filePath(name)); };
    QByteArray junk = whole("whole.jpg");
    quint32 state = 17;
    for (qsizetype i = junk.size() / 2; i < junk.size() / 2 + 200; ++i) {
        state = state * 1664525u + 1013904223u;
        // Junk without 0xFF, so no marker appears in the scan.
        junk[i] = char((state >> 24) % 0xFF);
    }
    const QByteArray jpeg = whole("whole.jpg");
    const struct {
        const char* name;
        QByteArray bytes;
    } damaged[] = {
        {"inner-gif.gif", overwritten(whole("whole.gif"), 0.5, 500, char(0xFF))},
        {"inner-g4.tif", overwritten(whole("whole-g4.tif"), 0.6, 300, 0)},
        {"inner-jpeg.tif", overwritten(whole("whole-jpeg.tif"), 0.6, 300, 0)},
        {"junk-scan.jpg", junk},
        {"grey-rows.jpg", jpeg.left(jpeg.size() * 6 / 10) + QByteArray("\xFF\xD9", 2)},
    };
    std::vector<MadeFile> files;
    for (const auto& file : damaged) {
        const QString path = QDir(folder).filePath(file.name);
        if (!writeFileBytes(path, file.bytes))
            return {};
        files.push_back({file.name, path});
    }
    return files;
}

} // namespace picbasket::test
