#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QList>
#include <QString>
#include <cstdint>

// The layout of a generated program, shared by the program that writes it and the
// players that read their own file:
//
//   template | 00 | jpeg 1 | 00 | jpeg 2 | 00 | ... | [options record] | list | 00 | trailer
//
// The list is UTF-8 text, one line per image "name;offset;length;" CR LF and, in a
// slide show, a last line "OPTIONS;offset;" naming the 6-byte options record (a
// 4-byte little-endian colour 0x00BBGGRR and a 2-byte little-endian interval in
// seconds). The 15-byte trailer is 08 00 0B 00, the list's offset in decimal left-
// aligned in 10 characters padded with blanks, and 00. Offsets count bytes from the
// start of the file. The loader ignores bytes behind an executable's segments, so
// player plus payload runs as it is.
namespace picbasket::layout {

inline constexpr int TrailerSize = 15;
inline constexpr int OptionsRecordSize = 6;
// The largest list offset the trailer's ten digits hold.
inline constexpr int64_t MaxListOffset = 9999999999LL;

struct ImageEntry {
    QString name;
    int64_t offset = 0;
    int64_t length = 0;
};

struct SlideShowOptions {
    int32_t backColor = 0; // OLE colour 0x00BBGGRR
    int16_t interval = 0;  // seconds
};

struct ProgramContent {
    QList<ImageEntry> images;
    bool hasOptions = false;
    SlideShowOptions options;
    int64_t listOffset = 0;
};

// One list line with its CR LF. CR and LF inside the name become blanks, so a
// name can never split its line.
QByteArray fncContentLine(const QString& name, int64_t offset, int64_t length);
QByteArray fncOptionsLine(int64_t offset);
QByteArray fncOptionsRecord(const SlideShowOptions& options);
// The trailer naming the list at listOffset (0 to MaxListOffset).
QByteArray fncTrailer(int64_t listOffset);

// Reads the layout from a whole file. False with a plain reason when the trailer,
// the list or any entry is damaged or points outside the payload.
bool fncReadProgramContent(QByteArrayView file, ProgramContent& content, QString& error);

// Writes the pieces in order onto a device and keeps the offset of the next byte,
// so that every entry names where its piece really lies. Each member throws
// std::runtime_error when the device refuses a write.
class ProgramLayoutWriter {
public:
    explicit ProgramLayoutWriter(QIODevice& device) : device_(device) {}

    // The template and its zero byte.
    void writeTemplate(QByteArrayView templateBytes);
    // One image and its zero byte; returns its list line.
    QByteArray appendImage(const QString& name, QByteArrayView jpeg);
    // The options record; returns its list line.
    QByteArray appendOptions(const SlideShowOptions& options);
    // The whole list, its zero byte and the trailer.
    void finish(QByteArrayView list);

    int64_t offset() const { return offset_; }

private:
    void write(QByteArrayView bytes);
    QIODevice& device_;
    int64_t offset_ = 0;
};

} // namespace picbasket::layout
