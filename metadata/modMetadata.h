#pragma once
#include "Version.h"
#include "engine/batch/ExifDateNames.h"

#include <QHash>
#include <QString>

#include <QDateTime>

#include <array>
#include <cstdint>
#include <optional>

namespace picbasket {

// Which metadata list the attribute commands act on: 0 EXIF, 1 IPTC.
inline uint8_t MetadataTab = 0;

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

// ---- Editing (modMetadata_edit.cpp) ----

// What the attribute dialogs take and give back: for EXIF the raw name, for IPTC
// the field caption; the value as text; True when the dialog was confirmed with a
// changed or new value (every command resets it when done).
inline QString EditAttributeName;
inline QString EditAttributeValue;
inline bool EditDialogResult = false;

// A date text of the dialogs and lists, "m/d/yyyy h:mm:ss AM/PM" or a date alone,
// read with that one fixed form whatever the locale. hasTime tells which it was.
struct DateText {
    QDateTime value;
    bool hasTime = false;
};
std::optional<DateText> fncParseDateText(const QString& text);
// The two halves the dialogs build a date text from: "m/d/yyyy" and "h:mm:ss AM/PM".
QString fncDatePartText(const QDateTime& date);
QString fncTimePartText(const QDateTime& date);

// True for the files whose metadata is written in place: JPEG ("jpg", "jpeg",
// "jpe"), TIFF and PSD, by extension in any case.
bool fncTakesMetadata(const QString& path);
// True for JPEG and TIFF, the files that carry EXIF.
bool fncTakesExif(const QString& path);
// Writes the box's EXIF and IPTC into the file without touching its pixels, pages
// or layers; files of other types are left alone (false).
bool subSaveMetadata(const ImageBox& box, const QString& path);

// Sets one attribute in the box without writing the file: an IPTC field by its
// caption (an empty text removes it; a date field takes a date text), or an EXIF
// attribute by its raw name (date attributes take a date text), stamping
// "Software" = SoftwareName. False, changing nothing, when the box refuses the
// value or the name.
bool fncSetAttribute(ImageBox& box, bool isIPTC, const QString& name, const QString& value);
// fncSetAttribute, then the file is written. False when refused or when writing
// failed (reported; the box then holds what the file holds).
bool fncUpdateAttribute(const QString& filePath, bool isIPTC, const QString& name,
                        const QString& value, ImageBox& box);
// Deletes one EXIF attribute, writes the file named by the list's tag and removes
// the list's selected row. False when the box holds no such attribute (or it is a
// structural one) or writing failed.
bool fncDeleteAttribute(const QString& name, ImageBox& box, ListView* list);
// Empties the keywords or the supplemental categories and writes the file; False
// for any other name.
bool fncDeleteIPTC_Keywords_suppCat(const QString& filePath, const QString& name, ImageBox& box);

// ---- EXIF attribute files (modMetadata_files.cpp) ----

// Saves the editable rows of the EXIF list (key and shown value, in list order) to
// a ".xiff" file the user chooses. With no editable row no file is written and
// the user is told. True when a file was written.
bool fncSaveEXIF(ListView* list, ImageBox& box);
// Loads a ".xiff" file the user chooses into the box's file (its Tag), which must
// be a JPEG or TIFF: the editable attributes it names are set and the file is
// written once; the list's rows follow. Other attributes in the file are passed
// over. True when the file was loaded.
bool fncOpenEXIF(ListView* list, ImageBox& box);

} // namespace picbasket
