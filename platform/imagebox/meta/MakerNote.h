#pragma once
#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace picbasket::makernote {

// A value of the note's directory that lay outside the note's bytes (some
// cameras put values among the EXIF's own): the directory entry it belongs to
// and its bytes.
struct OutsideValue {
    qint64 entry = 0;
    QByteArray bytes;
};

// A camera's maker note as it stood in its file: its bytes, where they began
// (counted from the TIFF header of the EXIF they came from) and that EXIF's
// byte order. Many notes are directories whose values lie at offsets counted
// from that TIFF header, so the bytes stay true only where they were, or moved
// with those offsets changed by the distance moved.
struct Note {
    QByteArray bytes;
    qint64 offset = -1;
    bool little = true;
    QString make;
    std::vector<OutsideValue> outside;
    bool isEmpty() const { return bytes.isEmpty() || offset < 0; }
};

// The maker note of the TIFF structure (a file or an EXIF block) whose header
// is at offset 0; empty when there is none or the structure is damaged.
Note find(const QByteArray& tiff, const QString& make);

// The note's bytes for a new place at newOffset in a structure of the given
// byte order: the same bytes for a note that counts its offsets from itself,
// the offsets moved for a known directory counting from the TIFF header; no
// value when the layout is not known (such a note cannot be moved).
//
//   note.bytes (its declared length, a trailing offset footer moved too) | values it had outside
//
// The values the note had outside its bytes follow it, with their entries
// pointing there, so the block may be longer than note.bytes; the note's
// entry still counts note.bytes.size().
std::optional<QByteArray> movedTo(const Note& note, qint64 newOffset, bool little);

// Whether movedTo can place the note elsewhere in a structure of that byte order.
bool movable(const Note& note, bool little);

// The note's bytes and, where its directory points at values past its stated
// length (cameras count some notes short), the bytes of the TIFF structure it
// came from up to the end of the last such value, so that they stay with it.
// The note's own bytes where its layout is not known or nothing lies past it.
QByteArray withValuesPastItsEnd(const Note& note, const QByteArray& tiff);

// What a user is told of a note that cannot be moved: its maker and why.
QString whyNotMovable(const Note& note);

} // namespace picbasket::makernote
