#pragma once
#include "platform/imagebox/meta/IptcDatasets.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTime>
#include <memory>

namespace picbasket {

// The EXIF and IPTC of one image: read from an image file, held and changed by
// attribute name or IPTC dataset, and written into an image file or an IPTC
// file. Exiv2 parses and encodes; this class decides names, value texts and
// character sets.
//
// EXIF attributes are the tags of the main image, Exif, GPS and
// interoperability directories, named as exifnames::attributeName says; their
// values are texts in the forms of exifvalue::toText. IPTC is held for record 2
// with text in UTF-8 (see iptctext).
class ImageMetadata {
public:
    ImageMetadata();
    ~ImageMetadata();
    ImageMetadata(const ImageMetadata& other);
    ImageMetadata& operator=(const ImageMetadata& other);

    // Replaces what is held by the metadata of a JPEG, TIFF, PSD or PNG file.
    // A file without readable metadata leaves nothing held and gives false.
    bool readFrom(const QString& path);
    // Writes what is held into an existing JPEG, TIFF or PSD file (pixels
    // untouched). Only the blocks changed since the read are written anew, so an
    // IPTC edit leaves the EXIF as the file had it and the file keeps its own
    // Orientation. Raises AppError 0x8000FFFF when the file cannot take it.
    void writeInto(const QString& path) const;
    // Writes what is held into a JPEG or TIFF file just written from the picture,
    // describing that picture: Orientation 1 (its pixels are upright), its size,
    // and a thumbnail made from it when the metadata had one.
    void writeIntoOutput(const QString& path, const QImage& picture) const;
    // What the last writeIntoOutput could not carry into the file, one text for
    // each (the maker note of a layout that cannot be moved); empty for none.
    QStringList leftOutOfOutput() const;
    void clear();
    bool isEmpty() const;
    // Whether a written file would get anything: EXIF, IPTC, XMP or a profile.
    bool hasAnythingToWrite() const;
    // The colour profile and the XMP packet the file came with (empty for none).
    QByteArray iccProfile() const;
    QByteArray xmpPacket() const;
    // The resolution the metadata gives in dots per inch; false when it gives none.
    bool resolution(double& xDpi, double& yDpi) const;

    // ---- EXIF ----
    int exifCount() const;
    // Name and value text of attribute i (0 to exifCount - 1); raises 9 outside.
    QString exifName(int index) const;
    QString exifValue(int index) const;
    // Value text of the first attribute of that name; empty when there is none.
    QString exifValue(const QString& name) const;
    // Sets an attribute from its value text. False, changing nothing, when the
    // name is unknown, the text does not parse for the tag's type or the tag is
    // structural.
    bool setExif(const QString& name, const QString& text);
    // Deletes every attribute of that name; false when none is held or the tag
    // is structural.
    bool deleteExif(const QString& name);
    void deleteAllExif();

    // "yyyy:MM:dd HH:mm:ss" to a local date and time; raises 13 for any other
    // text and for a date that does not exist ("0000:00:00 00:00:00").
    static QDateTime exifStringToDate(const QString& text);
    static QString dateToExifString(const QDateTime& date);

    // ---- IPTC (record 2) ----
    bool hasIptc() const;
    void deleteAllIptc();
    // The text of a single dataset (the first when repeated); setting an empty
    // text removes it.
    QString iptcText(int dataset) const;
    void setIptcText(int dataset, const QString& text);
    // Dates and times; a null value when absent, and setting one removes the dataset.
    // A date whose year is not 1 to 9999 raises 5 and leaves the dataset as it was.
    QDate iptcDate(int dataset) const;
    void setIptcDate(int dataset, const QDate& date);
    QTime iptcTime(int dataset) const;
    void setIptcTime(int dataset, const QTime& time);
    // Urgency 1 to 9, 0 for none; raises 5 for other numbers.
    int iptcUrgency() const;
    void setIptcUrgency(int urgency);
    // Repeated datasets (keywords, supplemental categories) in their order.
    QStringList iptcList(int dataset) const;
    int iptcListCount(int dataset) const;
    // Item index of the list; a null string outside it.
    QString iptcListItem(int dataset, int index) const;
    void clearIptcList(int dataset);
    void addIptcListItem(int dataset, const QString& text);

    // The IIM record stream of the IPTC (an empty set still gives the record
    // version and the character-set marker, so the stream is never empty).
    QByteArray iptcStream() const;
    // Replaces the IPTC by a record stream; raises 0x8000FFFF, changing
    // nothing, when the bytes are no whole record stream.
    void setIptcStream(const QByteArray& stream);
    void saveIptcFile(const QString& path) const;
    void loadIptcFile(const QString& path);

private:
    struct Data;
    std::unique_ptr<Data> d_;
};

} // namespace picbasket
