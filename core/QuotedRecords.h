#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

// The quoted-record text form of the basket files and the metadata lists: each
// field in double quotes, fields joined by ",", each record ended by CR LF.
//
//     "C:/a ""b"".jpg","x,y"<CR><LF>
//
// A double quote inside a field is written doubled. Reading takes CR LF or LF
// after a record (the last record may also end the data), skips blank lines and
// blanks around fields, and lets a quoted field run to its closing quote, so a
// field may hold commas, quotes and line ends. Texts are written as UTF-8 and
// read as UTF-8 when valid, else as Windows-1252 (files of older editions).
namespace picbasket {

// One record, with its CR LF.
QByteArray encodeQuotedRecord(const QStringList& fields);

// Records one after another.
QByteArray encodeQuotedRecords(const QList<QStringList>& records);

struct QuotedRecordsRead {
    QList<QStringList> records;
    // The line (counted from 1) where each record starts, for messages about it.
    QList<int> recordLines;
    // Empty when the whole data was read; else why it was refused, and the line
    // (counted from 1) where the faulty record starts.
    QString error;
    int errorLine = 0;
    bool ok() const { return error.isEmpty(); }
};

// Reads all records of data. A malformed record (a field not in quotes, text after
// a closing quote, a missing closing quote) refuses the whole data: records and
// recordLines are then empty. A leading UTF-8 byte-order mark is skipped.
QuotedRecordsRead decodeQuotedRecords(QByteArrayView data);

} // namespace picbasket
