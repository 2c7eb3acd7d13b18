#pragma once
#include "core/setup/typSetup.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace picbasket {

// The setup file's byte layout: the record's members one after another in
// declaration order, little-endian, no padding, no header. u8 1 byte, i16 2, i32 and
// colours 4, f64 8, truth values 2 (written 0 or FF FF, any non-zero reads true);
// a string is a 2-byte byte count and that many bytes of UTF-8. A string whose bytes
// are no valid UTF-8 is read as Windows-1252, the single-byte text of older files.
struct SetupLayoutSize {
    qsizetype fixedBytes = 0; // every member but the strings' texts and length fields
    qsizetype strings = 0;    // number of string members (2 length bytes each)
    // The shortest file that holds a record (all strings empty) and the longest.
    qsizetype minimumFileSize() const { return fixedBytes + 2 * strings; }
    qsizetype maximumRecordSize() const { return minimumFileSize() + strings * 0xFFFF; }
};

SetupLayoutSize setupLayoutSize();

// A string longer than 65535 UTF-8 bytes is cut at the last whole character that fits.
QByteArray encodeSetup(const typSetup& record);

// Reads a record from the start of data (bytes after the record are ignored). Returns
// false when data ends before the record does; record is then left unchanged.
bool decodeSetup(QByteArrayView data, typSetup& record);

// The text of a stored string: UTF-8 when valid, otherwise Windows-1252.
QString decodeSetupText(QByteArrayView bytes);

} // namespace picbasket
