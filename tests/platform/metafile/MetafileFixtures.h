#pragma once
#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QRgb>
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <vector>

// Small metafiles written here, record by record, for the player's tests.
namespace metafixture {

// Little-endian fields.
QByteArray le16(std::initializer_list<int> values);
QByteArray le32(std::initializer_list<int64_t> values);

// A bitmap as metafiles embed it: a 40-byte header and 24-bit rows, bottom-up.
QByteArray dib24(const QImage& image);

// Writes Windows-metafile records; file() adds the header and the end record.
class WmfWriter {
public:
    // A record of 16-bit parameters and extra bytes after them.
    WmfWriter& record(uint16_t function, std::initializer_list<int> words,
                      const QByteArray& extra = {});
    WmfWriter& raw(const QByteArray& record);
    // With a placeable header of that box and units per inch, or none.
    QByteArray file(bool placeable, QRect box = {}, int unitsPerInch = 1440) const;

private:
    QByteArray records_;
    int objects_ = 0;
    // The header's largest record, in 16-bit words (other readers check it).
    int64_t maxRecord_ = 3;
};

// Writes enhanced-metafile records; file() adds the header and the end record.
class EmfWriter {
public:
    EmfWriter& record(uint32_t type, const QByteArray& params);
    // The frame in 0.01 mm; the reference device is 96 pixels per inch.
    QByteArray file(QRect frame) const;

private:
    QByteArray records_;
    int count_ = 0;
};

// The test scene on a 2880 x 1440 unit page (192 x 96 pixels at 96 per inch): a red
// rectangle top left, a blue ellipse top middle, an 8 x 8 bitmap of four coloured
// quarters top right, a green triangle bottom left, a line of black text bottom
// right.
QByteArray wmfScene(bool placeable);
QByteArray emfScene();

// A point of the scene as a fraction of the page, and the colour expected there.
struct Probe {
    double fx, fy;
    QRgb colour;
    const char* what;
};
const std::vector<Probe>& sceneProbes();
// The part of the page (as fractions) where the text line is, and where nothing is.
QRectF sceneTextBox();
QRectF sceneEmptyBox();

} // namespace metafixture
