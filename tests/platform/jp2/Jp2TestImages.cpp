#include "Jp2TestImages.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>
#include <cmath>

namespace picbasket::test::jp2 {

namespace {

// A small linear congruential generator: the same noise on every machine.
struct Noise {
    quint32 state;
    int next(int range) {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 8) % static_cast<quint32>(range));
    }
};

int channelValue(int x, int y, int channel, int width, int height, int top, Noise& noise) {
    const double fx = double(x) / std::max(1, width - 1), fy = double(y) / std::max(1, height - 1);
    double v = 0;
    switch (channel) {
    case 0:
        v = fx;
        break;
    case 1:
        v = fy;
        break;
    case 2:
        v = 0.5 + 0.5 * std::sin(9 * fx + 5 * fy);
        break;
    default:
        v = ((x / 8 + y / 8) % 2) ? 0.9 : 0.3;
        break;
    }
    const int base = static_cast<int>(v * top * 0.9);
    return std::clamp(base + noise.next(std::max(2, top / 10)), 0, top);
}

} // namespace

QImage patternImage(int width, int height, QImage::Format format, quint32 seed) {
    Noise noise{seed};
    const bool deep = format == QImage::Format_Grayscale16 || format == QImage::Format_RGBX64 ||
                      format == QImage::Format_RGBA64;
    QImage image(width, height, deep ? QImage::Format_RGBA64 : QImage::Format_ARGB32);
    const int top = deep ? 65535 : 255;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int c[4];
            for (int i = 0; i < 4; ++i)
                c[i] = channelValue(x, y, i, width, height, top, noise);
            if (deep)
                reinterpret_cast<QRgba64*>(image.scanLine(y))[x] =
                    QRgba64::fromRgba64(c[0], c[1], c[2], c[3]);
            else
                reinterpret_cast<QRgb*>(image.scanLine(y))[x] = qRgba(c[0], c[1], c[2], c[3]);
        }
    if (format == QImage::Format_Grayscale8 || format == QImage::Format_Grayscale16) {
        // Grey from the red channel alone, so no conversion rounding hides a fault.
        QImage grey(width, height, format);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                if (deep)
                    reinterpret_cast<quint16*>(grey.scanLine(y))[x] =
                        reinterpret_cast<const QRgba64*>(image.constScanLine(y))[x].red();
                else
                    grey.scanLine(y)[x] = static_cast<uchar>(
                        qRed(reinterpret_cast<const QRgb*>(image.constScanLine(y))[x]));
            }
        return grey;
    }
    return image.convertToFormat(format);
}

::testing::AssertionResult samePixels(const QImage& expected, const QImage& actual, int tolerance) {
    if (expected.size() != actual.size())
        return ::testing::AssertionFailure()
               << "size " << actual.width() << "x" << actual.height() << ", expected "
               << expected.width() << "x" << expected.height();
    const QImage a = expected.convertToFormat(QImage::Format_RGBA64);
    const QImage b = actual.convertToFormat(QImage::Format_RGBA64);
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgba64 p = reinterpret_cast<const QRgba64*>(a.constScanLine(y))[x];
            const QRgba64 q = reinterpret_cast<const QRgba64*>(b.constScanLine(y))[x];
            const int scale =
                expected.depth() > 32 || expected.format() == QImage::Format_Grayscale16 ? 1 : 257;
            const int d =
                std::max({std::abs(p.red() - q.red()), std::abs(p.green() - q.green()),
                          std::abs(p.blue() - q.blue()), std::abs(p.alpha() - q.alpha())});
            if (d > tolerance * scale)
                return ::testing::AssertionFailure()
                       << "pixel (" << x << "," << y << ") is " << q.red() << "," << q.green()
                       << "," << q.blue() << "," << q.alpha() << ", expected " << p.red() << ","
                       << p.green() << "," << p.blue() << "," << p.alpha();
        }
    return ::testing::AssertionSuccess();
}

void writePnm(const QImage& image, const QString& path) {
    const bool grey = image.isGrayscale() && image.format() != QImage::Format_RGBX64;
    const bool deep =
        image.format() == QImage::Format_Grayscale16 || image.format() == QImage::Format_RGBX64;
    const QImage src =
        image.convertToFormat(grey ? (deep ? QImage::Format_Grayscale16 : QImage::Format_Grayscale8)
                                   : (deep ? QImage::Format_RGBX64 : QImage::Format_RGB888));
    QByteArray out = QStringLiteral("%1\n%2 %3\n%4\n")
                         .arg(grey ? "P5" : "P6")
                         .arg(src.width())
                         .arg(src.height())
                         .arg(deep ? 65535 : 255)
                         .toLatin1();
    for (int y = 0; y < src.height(); ++y) {
        if (!deep) {
            out.append(reinterpret_cast<const char*>(src.constScanLine(y)),
                       src.width() * (grey ? 1 : 3));
            continue;
        }
        const auto* s = reinterpret_cast<const quint16*>(src.constScanLine(y));
        for (int x = 0; x < src.width(); ++x)
            for (int c = 0; c < (grey ? 1 : 3); ++c) {
                const quint16 v = s[grey ? x : x * 4 + c];
                out.append(char(v >> 8)).append(char(v & 0xFF));
            }
    }
    writeFile(path, out);
}

QImage readPnm(const QString& path) {
    const QByteArray bytes = readFile(path);
    QList<QByteArray> fields;
    qsizetype at = 0;
    while (fields.size() < 4 && at < bytes.size()) {
        while (at < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[at])))
            ++at;
        if (at < bytes.size() && bytes[at] == '#') {
            while (at < bytes.size() && bytes[at] != '\n')
                ++at;
            continue;
        }
        qsizetype end = at;
        while (end < bytes.size() && !std::isspace(static_cast<unsigned char>(bytes[end])))
            ++end;
        fields << bytes.mid(at, end - at);
        at = end;
    }
    ++at;
    if (fields.size() < 4)
        return {};
    const bool grey = fields[0] == "P5";
    const int w = fields[1].toInt(), h = fields[2].toInt(), max = fields[3].toInt();
    const bool deep = max > 255;
    const int ch = grey ? 1 : 3;
    QImage image(w, h,
                 grey ? (deep ? QImage::Format_Grayscale16 : QImage::Format_Grayscale8)
                      : (deep ? QImage::Format_RGBX64 : QImage::Format_RGB888));
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData() + at);
    if (bytes.size() - at < qsizetype(w) * h * ch * (deep ? 2 : 1))
        return {};
    for (int y = 0; y < h; ++y) {
        if (!deep) {
            memcpy(image.scanLine(y), p + qsizetype(y) * w * ch, size_t(w) * ch);
            continue;
        }
        auto* d = reinterpret_cast<quint16*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            for (int c = 0; c < ch; ++c) {
                const uchar* s = p + (qsizetype(y) * w * ch + x * ch + c) * 2;
                d[grey ? x : x * 4 + c] = quint16(s[0] << 8 | s[1]);
            }
            if (!grey)
                d[x * 4 + 3] = 65535;
        }
    }
    return image;
}

bool haveTool(const QString& program) {
    return !QStandardPaths::findExecutable(program).isEmpty();
}

bool runTool(const QString& program, const QStringList& args, QString* output) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    const bool finished = process.waitForFinished(120000);
    if (output)
        *output = QString::fromLocal8Bit(process.readAll());
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

} // namespace picbasket::test::jp2
