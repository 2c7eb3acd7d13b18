#pragma once
#include "Version.h"
#include "engine/batch/ExifDateNames.h"

#include <QHash>
#include <QString>

#include <array>
#include <cstdint>

namespace picbasket {

class ImageBox;
class ListView;

// The vocabulary of the metadata lists and commands: which EXIF attributes the user
// may edit, which EXIF attributes are dates (the engine's one table,
// exifDateAttributeNames), which IPTC fields are dates or times, the text stamped
// into the EXIF "Software" attribute, the name tests, readable texts for raw EXIF
// values and display names for raw EXIF attribute names, and the two readers that
// fill the EXIF and IPTC lists from an image box.

// Filled once at start-up by subInitMetadataTables.
inline std::array<QString, 11> EditableExifNames;
inline std::array<QString, 3> DateExifNames;
inline std::array<QString, 5> IptcDateNames;
// The program's title, written as the EXIF "Software" value whenever the program
// saves metadata or the preview. Holds the title from the start, so a save that
// runs before start-up (a test, a tool) still stamps the right text.
inline QString SoftwareName = QString::fromUtf8(version::Title);

void subInitMetadataTables();

// True when the name, trimmed and lower-cased, equals a lower-cased table entry.
bool fncIsEditableAttribute(const QString& name);
bool fncIsIPTCDateAttribute(const QString& name);

// True when the list has no row whose key is exactly the name (rows without a key
// never match); True for no list at all.
bool fncAttributeNotInList(const ListView* list, const QString& name);

// The two halves of a rational text "N/D", split at the last "/". The numerator is
// 0 without a "/"; the denominator is then the whole text. A half that is no whole
// number in the 32-bit range gives 0.
int32_t fncRationalNumerator(const QString& value);
int32_t fncRationalDenominator(const QString& value);

// Readable text for the raw value of an EXIF attribute, or an empty text when the
// attribute has no interpretation or the value none for it (the caller then shows
// the raw value).
QString fncEXIFInterpret(const QString& name, const QString& value);

// The display name of a raw EXIF attribute name, or an empty text when it has none
// (the caller then shows the raw name).
QString fncFormattedAttributed(const QString& name);
// The whole table behind it: raw name to display name.
const QHash<QString, QString>& exifDisplayNames();

// The EXIF rows: text = display name (or raw name), tag = raw name, key and the
// editable mark (small icon "1") on editable attributes only, sub-item 1 = the
// readable value. Dates show as "m/d/yyyy h:mm:ss AM/PM"; a date text that is no
// date shows raw. Adds rows (never empties the list) and tags the list with the
// path; with no image in the box it does nothing.
void ReadFileEXIFInfo(ImageBox& box, ListView* list, const QString& filePath);

// The 52 IPTC rows, always all of them in their fixed order, each with the mark
// (small icon "1"); dates show as "m/d/yyyy", an absent date empty. Adds rows and
// tags the list with the path; with no image in the box it does nothing.
void ReadFileIPTCInfo(ImageBox& box, ListView* list, const QString& filePath);

// The small-icon key of the mark on editable rows: the first picture of the lists'
// small-icon image list.
inline const QString EditableMarkKey = QStringLiteral("1");

} // namespace picbasket
