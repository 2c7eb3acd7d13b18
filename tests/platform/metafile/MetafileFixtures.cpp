#include "tests/platform/metafile/MetafileFixtures.h"

#include <algorithm>

namespace metafixture {

namespace {

const QRgb Yellow = qRgb(255, 255, 0), Magenta = qRgb(255, 0, 255), Cyan = qRgb(0, 255, 255);

QImage quarters() {
    QImage image(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            image.setPixel(x, y,
                           y < 4 ? (x < 4 ? Yellow : Magenta) : (x < 4 ? Cyan : qRgb(0, 0, 0)));
    return image;
}

} // namespace

QByteArray le16(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) {
        out.append(char(v & 0xFF));
        out.append(char((v >> 8) & 0xFF));
    }
    return out;
}

QByteArray le32(std::initializer_list<int64_t> values) {
    QByteArray out;
    for (int64_t v : values)
        for (int i = 0; i < 4; ++i)
            out.append(char((v >> (8 * i)) & 0xFF));
    return out;
}

QByteArray dib24(const QImage& image) {
    const int stride = (image.width() * 3 + 3) / 4 * 4;
    QByteArray out = le32({40, image.width(), image.height()}) + le16({1, 24}) +
                     le32({0, int64_t(stride) * image.height(), 3780, 3780, 0, 0});
    for (int y = image.height() - 1; y >= 0; --y) {
        QByteArray row;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            row.append(char(qBlue(p)));
            row.append(char(qGreen(p)));
            row.append(char(qRed(p)));
        }
        row.append(QByteArray(stride - row.size(), '\0'));
        out += row;
    }
    return out;
}

WmfWriter& WmfWriter::record(uint16_t function, std::initializer_list<int> words,
                             const QByteArray& extra) {
    QByteArray body = le16(words) + extra;
    if (body.size() % 2)
        body.append('\0');
    if (function == 0x02FA || function == 0x02FC || function == 0x02FB || function == 0x0142)
        ++objects_;
    return raw(le32({3 + body.size() / 2}) + le16({function}) + body);
}

WmfWriter& WmfWriter::raw(const QByteArray& record) {
    records_ += record;
    maxRecord_ = std::max<int64_t>(maxRecord_, record.size() / 2);
    return *this;
}

QByteArray WmfWriter::file(bool placeable, QRect box, int unitsPerInch) const {
    const QByteArray records = records_ + le32({3}) + le16({0});
    const QByteArray header = le16({1, 9, 0x0300}) + le32({9 + records.size() / 2}) +
                              le16({objects_}) + le32({maxRecord_}) + le16({0});
    QByteArray out;
    if (placeable)
        out = le32({0x9AC6CDD7}) +
              le16({0, box.left(), box.top(), box.left() + box.width(), box.top() + box.height(),
                    unitsPerInch}) +
              le32({0}) + le16({0});
    return out + header + records;
}

EmfWriter& EmfWriter::record(uint32_t type, const QByteArray& params) {
    QByteArray body = params;
    while (body.size() % 4)
        body.append('\0');
    records_ += le32({type, 8 + body.size()}) + body;
    ++count_;
    return *this;
}

QByteArray EmfWriter::file(QRect frame) const {
    const QByteArray end = le32({14, 20, 0, 16, 20});
    const int64_t total = 88 + records_.size() + end.size();
    // 960 pixels on 254 mm: 96 pixels per inch.
    const QByteArray header =
        le32({1, 88, 0, 0, 191, 95, frame.left(), frame.top(), frame.left() + frame.width(),
              frame.top() + frame.height(), 0x464D4520, 0x10000, total, count_ + 2}) +
        le16({16, 0}) + le32({0, 0, 0, 960, 960, 254, 254});
    return header + records_ + end;
}

QByteArray wmfScene(bool placeable) {
    const QByteArray face = QByteArray("Sans") + QByteArray(28, '\0');
    const QByteArray text("Hello");
    WmfWriter w;
    w.record(0x020B, {0, 0})
        .record(0x020C, {1440, 2880})
        .record(0x02FA, {5, 0, 0}, le32({0})) // null pen, object 0
        .record(0x012D, {0})
        .record(0x02FC, {0}, le32({0x0000FF}) + le16({0})) // red brush, object 1
        .record(0x012D, {1})
        .record(0x041B, {720, 960, 0, 0})
        .record(0x02FC, {0}, le32({0xFF0000}) + le16({0})) // blue brush, object 2
        .record(0x012D, {2})
        .record(0x0418, {720, 1920, 0, 960})
        .record(0x02FC, {0}, le32({0x00FF00}) + le16({0})) // green brush, object 3
        .record(0x012D, {3})
        .record(0x0324, {3, 0, 720, 960, 720, 0, 1440})
        .record(0x0F43, {0x0020, 0x00CC, 0, 8, 8, 0, 0, 720, 960, 0, 1920}, dib24(quarters()))
        .record(0x02FB, {-300, 0, 0, 0, 400, 0, 0, 0, 0}, face)
        .record(0x012D, {4})
        .record(0x0102, {1})
        .record(0x0209, {}, le32({0}))
        .record(0x0521, {int(text.size())}, text + '\0' + le16({1080, 900}));
    const QRect box(0, 0, 2880, 1440);
    return w.file(placeable, box);
}

QByteArray emfScene() {
    const QByteArray dib = dib24(quarters());
    QByteArray face;
    for (char c : QByteArray("Sans"))
        face += le16({c});
    face.append(QByteArray(64 - face.size(), '\0'));
    QByteArray text;
    for (char c : QByteArray("Hello"))
        text += le16({c});
    EmfWriter e;
    e.record(17, le32({8}))
        .record(10, le32({0, 0}))
        .record(9, le32({2880, 1440}))
        .record(12, le32({0, 0}))
        .record(11, le32({192, 96}))
        .record(37, le32({0x80000008}))        // null pen
        .record(39, le32({1, 0, 0x0000FF, 0})) // red brush
        .record(37, le32({1}))
        .record(43, le32({0, 0, 960, 720}))
        .record(39, le32({2, 0, 0xFF0000, 0}))
        .record(37, le32({2}))
        .record(42, le32({960, 720 * 0, 1920, 720}))
        .record(39, le32({3, 0, 0x00FF00, 0}))
        .record(37, le32({3}))
        .record(86, le32({0, 0, 0, 0, 3}) + le16({0, 720, 960, 720, 0, 1440}))
        // StretchDIBits: bounds, destination, source, the bitmap, usage, copy, size.
        .record(81, le32({0, 0, 0, 0, 1920, 0, 0, 0, 8, 8, 80, 40, 120, dib.size() - 40, 0,
                          0x00CC0020, 960, 720}) +
                        dib)
        .record(82, le32({4, -300, 0, 0, 0, 400}) + QByteArray(8, '\0') + face)
        .record(37, le32({4}))
        .record(18, le32({1}))
        .record(24, le32({0}))
        // ExtTextOutW: bounds, mode, scales, reference, count, string offset, options,
        // rectangle, dx offset; then the string.
        .record(84, le32({0, 0, 0, 0, 1, 0, 0, 900, 1080, 5, 76, 0, 0, 0, 0, 0, 0}) + text);
    return e.file(QRect(0, 0, 5080, 2540));
}

const std::vector<Probe>& sceneProbes() {
    static const std::vector<Probe> probes = {
        {0.16, 0.25, qRgb(255, 0, 0), "rectangle"},
        {0.50, 0.25, qRgb(0, 0, 255), "ellipse centre"},
        {0.345, 0.03, qRgb(255, 255, 255), "outside the ellipse, by its corner"},
        {0.04, 0.60, qRgb(0, 255, 0), "inside the triangle"},
        {0.30, 0.95, qRgb(255, 255, 255), "beyond the triangle's slope"},
        {0.75, 0.12, Yellow, "bitmap top left"},
        {0.92, 0.12, Magenta, "bitmap top right"},
        {0.75, 0.38, Cyan, "bitmap bottom left"},
        {0.92, 0.38, qRgb(0, 0, 0), "bitmap bottom right"},
    };
    return probes;
}

QRectF sceneTextBox() {
    // "Hello" from x = 900 with its top at y = 1080, an em of 300 units.
    return QRectF(900.0 / 2880, 1080.0 / 1440, 600.0 / 2880, 330.0 / 1440);
}

QRectF sceneEmptyBox() {
    return QRectF(2000.0 / 2880, 800.0 / 1440, 800.0 / 2880, 200.0 / 1440);
}

} // namespace metafixture
