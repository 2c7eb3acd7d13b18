#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

namespace picbasket {

class ImageBox;

// The naming rules of the batch conversion: a hybrid output name is
// prefix, separator 1, the row's name, separator 2, suffix. Prefix and suffix are
// naming tokens ("[Date Today]", "[EXIF Model]", ...) or typed text; separators are
// "[WhiteSpace]", "[No Separator]" or typed text.
//
// A "/" or NUL in what a token or separator expands to would make the name leave
// the destination folder (an EXIF model such as "EOS 5D/Mark II", a typed "../x"),
// so both become "_"; nothing else in a name is changed.

// " " for "[WhiteSpace]", empty for "[No Separator]", any other text as it is.
QString fncGetSeparator(const QString& separator);

// The 25 naming tokens the batch dialog's prefix and suffix lists offer, in the order
// they are listed. Each is a key of fncRetrieveNamingString; "[IPTC Reference Date]"
// and "[IPTC Reference Number]" are read as well, as other spellings of the two
// "Ref." tokens, but not offered.
const QStringList& fncNamingTokens();

// The text of one naming token for one output file. box holds the converted image
// after its tasks, its Tag the source size ("w" & "x" & "h"); sourcePath is the
// basket row's file; targetExtension the lower-case extension being written. Keys
// are compared case-sensitively; a text that is no key is returned as typed. An
// empty box gives an empty text for every token. Errors are reported with the
// source "fncRetrieveNamingString" and give an empty text.
QString fncRetrieveNamingString(ImageBox& box, const QString& token, const QString& sourcePath,
                                const QString& targetExtension);

// "[Resulting size]" of an encoded size: kilobytes rounded halves to even, and "Kb".
QString fncSizeInKb(int64_t bytes);

// The image-box format code "[Resulting size]" encodes in for an extension, or -1.
int fncNamingFormatCode(const QString& extension);

// The same with the time the date tokens read fixed by the caller, so that a
// batch job on a worker thread reads no clock of its own.
QString fncRetrieveNamingString(ImageBox& box, const QString& token, const QString& sourcePath,
                                const QString& targetExtension, const QDateTime& now);

// What the naming clock says now.
QDateTime fncNamingNow();

// The clock the date tokens read; tests install a fixed one. Returns the previous.
using NamingClock = std::function<QDateTime()>;
NamingClock setNamingClock(NamingClock clock);

// Replaces "/" and NUL, which no file name may hold, with "_".
QString fncCleanNamePart(QString text);

// The stem of an output name with something to see in it: a stem of nothing but
// white space and dots (the source "   .jpg") would give a hidden or blank name
// (".jp2", "   .jp2"), so it becomes "_".
QString fncVisibleStem(const QString& stem);

} // namespace picbasket
