#pragma once
#include <QByteArray>
#include <QString>
#include <exiv2/exiv2.hpp>

namespace picbasket::iptctext {

// Windows-1252 bytes as text (the character set of IPTC text without a marker).
QString fromWindows1252(const QByteArray& bytes);

// Brings IPTC as read from a file into the form the image box keeps: every text
// dataset of record 2 in UTF-8. Text read without the UTF-8 marker (1:90
// "ESC % G") is taken as Windows-1252 and converted. The marker itself is
// dropped; toWritable puts it back.
void normalise(Exiv2::IptcData& iptc);

// Times as the stream read held them: Exiv2 gives a time without its zone
// ("HHMMSS") the zone +0000 and would write it so; such a time is kept as the
// text it was, which the time readers take as well.
void keepTimesAsWritten(Exiv2::IptcData& iptc, const QByteArray& stream);

// True when record 2 holds any dataset besides its version.
bool hasApplicationData(const Exiv2::IptcData& iptc);

// The IPTC to write: empty when record 2 holds nothing, else the data with the
// record version 2:00 and the UTF-8 marker 1:90.
Exiv2::IptcData toWritable(const Exiv2::IptcData& iptc);

// Checks that the bytes are a whole IIM record stream: datasets of 0x1C,
// record, dataset, a 16-bit big-endian length (or an extended length) and that
// many bytes of data, up to the end. Returns an empty text when they are, else
// what is wrong.
QString checkRecordStream(const QByteArray& bytes);

} // namespace picbasket::iptctext
