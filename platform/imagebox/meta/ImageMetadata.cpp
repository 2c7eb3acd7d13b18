#include "platform/imagebox/meta/ImageMetadata.h"

#include "core/AppError.h"
#include "platform/imagebox/meta/ExifBlock.h"
#include "platform/imagebox/meta/ExifNameTable.h"
#include "platform/imagebox/meta/ExifValueText.h"
#include "platform/imagebox/meta/IptcText.h"
#include "platform/imagebox/meta/JpegSegments.h"
#include "platform/imagebox/meta/MakerNote.h"
#include "platform/imagebox/meta/MetadataFile.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <exiv2/exiv2.hpp>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <vector>

namespace picbasket {

struct ImageMetadata::Data {
    Exiv2::ExifData exif;
    Exiv2::IptcData iptc;
    metadatafile::Blocks blocks;
    bool exifChanged = false;
    bool iptcChanged = false;
    QStringList leftOut;
};

namespace {

// IPTC files hold one record stream; anything far larger is no IPTC file.
constexpr qint64 kMaxIptcFileBytes = qint64(16) << 20;
const QString kExifDateFormat = QStringLiteral("yyyy:MM:dd HH:mm:ss");

exifnames::TagRef refOf(const Exiv2::Exifdatum& d) {
    return {d.groupName(), d.tag()};
}

bool isListed(const Exiv2::Exifdatum& d) {
    return exifnames::isListedGroup(d.groupName());
}

QString nameOf(const Exiv2::Exifdatum& d) {
    return exifnames::attributeName(d.groupName(), d.tag());
}

QString valueOf(const Exiv2::Exifdatum& d) {
    return exifvalue::toText(d, exifnames::isUserComment(refOf(d)));
}

std::vector<const Exiv2::Exifdatum*> listed(const Exiv2::ExifData& exif) {
    std::vector<const Exiv2::Exifdatum*> out;
    for (const Exiv2::Exifdatum& d : exif) {
        if (isListed(d)) {
            out.push_back(&d);
        }
    }
    return out;
}

Exiv2::ExifData::iterator findNamed(Exiv2::ExifData& exif, const QString& name) {
    for (auto it = exif.begin(); it != exif.end(); ++it) {
        if (isListed(*it) && nameOf(*it) == name) {
            return it;
        }
    }
    return exif.end();
}

bool isApplication(const Exiv2::Iptcdatum& d, int dataset) {
    return d.record() == 2 && d.tag() == uint16_t(dataset);
}

// In one pass: erasing datasets one by one from tens of thousands of keywords
// would move the rest each time. The tail is erased from the back.
void eraseDataset(Exiv2::IptcData& iptc, int dataset) {
    const auto kept = std::remove_if(iptc.begin(), iptc.end(), [dataset](const Exiv2::Iptcdatum& d) {
        return isApplication(d, dataset);
    });
    const long keep = long(kept - iptc.begin());
    while (iptc.count() > keep)
        iptc.erase(std::prev(iptc.end()));
}

void addText(Exiv2::IptcData& iptc, int dataset, const QString& text) {
    Exiv2::StringValue value(text.toStdString());
    iptc.add(Exiv2::IptcKey(uint16_t(dataset), 2), &value);
}

const Exiv2::Iptcdatum* firstOf(const Exiv2::IptcData& iptc, int dataset) {
    for (const Exiv2::Iptcdatum& d : iptc) {
        if (isApplication(d, dataset)) {
            return &d;
        }
    }
    return nullptr;
}

void checkDataset(int dataset) {
    if (dataset < 1 || dataset > 255) {
        raiseError(err::InvalidProcedureCall, QStringLiteral("No IPTC dataset 2:%1.").arg(dataset));
    }
}

QByteArray streamOf(const Exiv2::IptcData& iptc) {
    Exiv2::IptcData writable = iptctext::toWritable(iptc);
    if (writable.empty()) {
        // An empty set: just the character-set marker and the record version.
        Exiv2::IptcData placeholder;
        addText(placeholder, iptc::Caption, QStringLiteral("x"));
        writable = iptctext::toWritable(placeholder);
        eraseDataset(writable, iptc::Caption);
    }
    const Exiv2::DataBuf buf = Exiv2::IptcParser::encode(writable);
    return QByteArray(reinterpret_cast<const char*>(buf.pData_), buf.size_);
}

void setIfPresent(Exiv2::ExifData& exif, const char* key, const Exiv2::Value& value) {
    const auto it = exif.findKey(Exiv2::ExifKey(key));
    if (it != exif.end())
        it->setValue(&value);
}

// The EXIF for a file holding the picture: upright, and of the picture's size.
// A TIFF states its size and layout in its own directory; the Exif sizes and
// the JPEG's component layout and bits per pixel belong to compressed files.
Exiv2::ExifData describing(const Exiv2::ExifData& held, const QSize& size, bool tiff) {
    Exiv2::ExifData exif = held;
    Exiv2::UShortValue normal;
    normal.value_.push_back(1);
    setIfPresent(exif, "Exif.Image.Orientation", normal);
    Exiv2::ULongValue width, height;
    width.value_.push_back(uint32_t(size.width()));
    height.value_.push_back(uint32_t(size.height()));
    setIfPresent(exif, "Exif.Photo.PixelXDimension", width);
    setIfPresent(exif, "Exif.Photo.PixelYDimension", height);
    if (tiff) {
        for (const char* key :
             {"Exif.Photo.PixelXDimension", "Exif.Photo.PixelYDimension",
              "Exif.Photo.ComponentsConfiguration", "Exif.Photo.CompressedBitsPerPixel"}) {
            const auto it = exif.findKey(Exiv2::ExifKey(key));
            if (it != exif.end())
                exif.erase(it);
        }
    }
    return exif;
}

// Whether the JPEG or TIFF file holds a maker note in its EXIF.
bool holdsMakerNote(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    const QByteArray tiff = bytes.startsWith("\xFF\xD8")
                                ? jpegsegments::contentOf(bytes, jpegsegments::Kind::Exif)
                                : bytes;
    return !makernote::find(tiff, QString()).isEmpty();
}

bool hasThumbnailTags(const Exiv2::ExifData& exif) {
    return exif.findKey(Exiv2::ExifKey("Exif.Thumbnail.JPEGInterchangeFormat")) != exif.end();
}

} // namespace

ImageMetadata::ImageMetadata() : d_(std::make_unique<Data>()) {}
ImageMetadata::~ImageMetadata() = default;
ImageMetadata::ImageMetadata(const ImageMetadata& other) : d_(std::make_unique<Data>(*other.d_)) {}

ImageMetadata& ImageMetadata::operator=(const ImageMetadata& other) {
    *d_ = *other.d_;
    return *this;
}

bool ImageMetadata::readFrom(const QString& path) {
    d_->exifChanged = d_->iptcChanged = false;
    return metadatafile::read(path, d_->exif, d_->iptc, d_->blocks);
}

// After the write the file holds what is held: its blocks are taken again, so
// the next edit compares with the file as it now stands.
void ImageMetadata::writeInto(const QString& path) const {
    metadatafile::write(path, d_->exif, d_->iptc, d_->blocks,
                        {d_->exifChanged, d_->iptcChanged, std::nullopt});
    Exiv2::ExifData exif;
    Exiv2::IptcData iptc;
    metadatafile::Blocks blocks;
    if (metadatafile::read(path, exif, iptc, blocks)) {
        d_->blocks = blocks;
        d_->exifChanged = d_->iptcChanged = false;
    }
}

void ImageMetadata::writeIntoOutput(const QString& path, const QImage& picture) const {
    QFile file(path);
    const bool tiff = file.open(QIODevice::ReadOnly) && !file.read(2).startsWith("\xFF\xD8");
    Exiv2::ExifData exif = describing(d_->exif, picture.size(), tiff);
    const bool hadThumbnail = !d_->blocks.thumbnail.isEmpty() || hasThumbnailTags(d_->exif) ||
                              exifblock::hasSecondDirectory(d_->blocks.exif);
    const QByteArray thumbnail = hadThumbnail ? exifblock::makeThumbnail(picture) : QByteArray();
    metadatafile::write(path, exif, d_->iptc, d_->blocks, {true, true, thumbnail});
    d_->leftOut.clear();
    const makernote::Note& note = d_->blocks.makerNote;
    if (!note.isEmpty() && !holdsMakerNote(path)) {
        const QString why = makernote::whyNotMovable(note);
        d_->leftOut << (why.isEmpty() ? QStringLiteral("the camera's maker note could not be kept")
                                      : why);
    }
}

QStringList ImageMetadata::leftOutOfOutput() const {
    return d_->leftOut;
}

void ImageMetadata::clear() {
    d_->exif.clear();
    d_->iptc.clear();
    d_->blocks = {};
    d_->exifChanged = d_->iptcChanged = false;
}

bool ImageMetadata::isEmpty() const {
    return d_->exif.empty() && !hasIptc();
}

bool ImageMetadata::hasAnythingToWrite() const {
    return !isEmpty() || !d_->blocks.xmp.isEmpty() || !d_->blocks.icc.isEmpty();
}

QByteArray ImageMetadata::iccProfile() const {
    return d_->blocks.icc;
}

QByteArray ImageMetadata::xmpPacket() const {
    return d_->blocks.xmp;
}

bool ImageMetadata::resolution(double& xDpi, double& yDpi) const {
    const auto x = d_->exif.findKey(Exiv2::ExifKey("Exif.Image.XResolution"));
    const auto y = d_->exif.findKey(Exiv2::ExifKey("Exif.Image.YResolution"));
    if (x == d_->exif.end() || y == d_->exif.end() || x->count() < 1 || y->count() < 1)
        return false;
    const auto unit = d_->exif.findKey(Exiv2::ExifKey("Exif.Image.ResolutionUnit"));
    const long unitValue = unit == d_->exif.end() || unit->count() < 1 ? 2 : unit->toLong();
    // Unit 1 means no absolute unit: the numbers give only the aspect.
    if (unitValue != 2 && unitValue != 3)
        return false;
    const double perInch = unitValue == 3 ? 2.54 : 1.0;
    xDpi = x->toFloat() * perInch;
    yDpi = y->toFloat() * perInch;
    return xDpi > 0 && yDpi > 0 && std::isfinite(xDpi) && std::isfinite(yDpi);
}

// ---- EXIF ----

int ImageMetadata::exifCount() const {
    return int(listed(d_->exif).size());
}

QString ImageMetadata::exifName(int index) const {
    const auto all = listed(d_->exif);
    if (index < 0 || size_t(index) >= all.size()) {
        raiseError(err::SubscriptOutOfRange);
    }
    return nameOf(*all[size_t(index)]);
}

QString ImageMetadata::exifValue(int index) const {
    const auto all = listed(d_->exif);
    if (index < 0 || size_t(index) >= all.size()) {
        raiseError(err::SubscriptOutOfRange);
    }
    return valueOf(*all[size_t(index)]);
}

QString ImageMetadata::exifValue(const QString& name) const {
    auto it = findNamed(d_->exif, name);
    return it == d_->exif.end() ? QString() : valueOf(*it);
}

bool ImageMetadata::setExif(const QString& name, const QString& text) {
    auto existing = findNamed(d_->exif, name);
    const std::optional<exifnames::TagRef> ref = existing != d_->exif.end()
                                                     ? std::optional(refOf(*existing))
                                                     : exifnames::placementFor(name);
    if (!ref || exifnames::isStructural(*ref)) {
        return false;
    }
    const bool comment = exifnames::isUserComment(*ref);
    const int count = exifnames::defaultCount(*ref);
    std::unique_ptr<Exiv2::Value> value;
    if (existing != d_->exif.end() && !comment) {
        value = exifvalue::fromText(text, existing->typeId(), count, false);
    }
    if (!value) {
        value = exifvalue::fromText(text, exifnames::defaultType(*ref), count, comment);
    }
    if (!value) {
        return false;
    }
    d_->exifChanged = true;
    if (existing != d_->exif.end()) {
        existing->setValue(value.get());
    } else {
        d_->exif.add(Exiv2::ExifKey(ref->tag, ref->group), value.get());
    }
    return true;
}

bool ImageMetadata::deleteExif(const QString& name) {
    auto it = findNamed(d_->exif, name);
    if (it == d_->exif.end() || exifnames::isStructural(refOf(*it))) {
        return false;
    }
    d_->exifChanged = true;
    while (it != d_->exif.end()) {
        d_->exif.erase(it);
        it = findNamed(d_->exif, name);
    }
    return true;
}

// Without its attributes the EXIF keeps no maker note or thumbnail either.
void ImageMetadata::deleteAllExif() {
    d_->exif.clear();
    d_->blocks.makerNote = {};
    d_->blocks.thumbnail.clear();
    d_->blocks.exif.clear();
    d_->exifChanged = true;
}

QDateTime ImageMetadata::exifStringToDate(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^\\d{4}:\\d{2}:\\d{2} \\d{2}:\\d{2}:\\d{2}$"));
    const QString trimmed = text.trimmed();
    const QDateTime date = pattern.match(trimmed).hasMatch()
                               ? QDateTime::fromString(trimmed, kExifDateFormat)
                               : QDateTime();
    if (!date.isValid()) {
        raiseError(err::TypeMismatch, QStringLiteral("\"%1\" is no EXIF date.").arg(text));
    }
    return date;
}

QString ImageMetadata::dateToExifString(const QDateTime& date) {
    if (!date.isValid()) {
        raiseError(err::InvalidProcedureCall, QStringLiteral("No date to write as EXIF text."));
    }
    return date.toString(kExifDateFormat);
}

// ---- IPTC ----

bool ImageMetadata::hasIptc() const {
    return iptctext::hasApplicationData(d_->iptc);
}

void ImageMetadata::deleteAllIptc() {
    d_->iptc.clear();
    d_->iptcChanged = true;
}

QString ImageMetadata::iptcText(int dataset) const {
    const Exiv2::Iptcdatum* d = firstOf(d_->iptc, dataset);
    return d ? QString::fromStdString(d->toString()) : QString();
}

void ImageMetadata::setIptcText(int dataset, const QString& text) {
    checkDataset(dataset);
    d_->iptcChanged = true;
    eraseDataset(d_->iptc, dataset);
    if (!text.isEmpty()) {
        addText(d_->iptc, dataset, text);
    }
}

QDate ImageMetadata::iptcDate(int dataset) const {
    const Exiv2::Iptcdatum* d = firstOf(d_->iptc, dataset);
    if (!d) {
        return {};
    }
    if (const auto* date = dynamic_cast<const Exiv2::DateValue*>(&d->value())) {
        const Exiv2::DateValue::Date& v = date->getDate();
        return QDate(v.year, v.month, v.day);
    }
    // A date some other program wrote as plain text.
    const QString text = QString::fromStdString(d->toString()).trimmed();
    QDate parsed = QDate::fromString(text, QStringLiteral("yyyyMMdd"));
    return parsed.isValid() ? parsed : QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
}

void ImageMetadata::setIptcDate(int dataset, const QDate& date) {
    checkDataset(dataset);
    // IPTC writes a date as CCYYMMDD: four digits of year and no sign.
    if (date.isValid() && (date.year() < 1 || date.year() > 9999))
        raiseError(
            err::InvalidProcedureCall,
            QStringLiteral("An IPTC date needs a year from 1 to 9999, not %1.").arg(date.year()));
    d_->iptcChanged = true;
    eraseDataset(d_->iptc, dataset);
    if (date.isValid()) {
        Exiv2::DateValue value(date.year(), date.month(), date.day());
        d_->iptc.add(Exiv2::IptcKey(uint16_t(dataset), 2), &value);
    }
}

QTime ImageMetadata::iptcTime(int dataset) const {
    const Exiv2::Iptcdatum* d = firstOf(d_->iptc, dataset);
    if (!d) {
        return {};
    }
    if (const auto* time = dynamic_cast<const Exiv2::TimeValue*>(&d->value())) {
        const Exiv2::TimeValue::Time& v = time->getTime();
        return QTime(v.hour, v.minute, v.second);
    }
    return QTime::fromString(QString::fromStdString(d->toString()).trimmed().left(6),
                             QStringLiteral("HHmmss"));
}

// Times are written in the basic form HHMMSS with the offset +0000: the image
// box keeps clock times, not zones.
void ImageMetadata::setIptcTime(int dataset, const QTime& time) {
    checkDataset(dataset);
    d_->iptcChanged = true;
    eraseDataset(d_->iptc, dataset);
    if (time.isValid()) {
        Exiv2::TimeValue value(time.hour(), time.minute(), time.second(), 0, 0);
        d_->iptc.add(Exiv2::IptcKey(uint16_t(dataset), 2), &value);
    }
}

int ImageMetadata::iptcUrgency() const {
    const QString text = iptcText(iptc::Urgency).trimmed();
    bool ok = false;
    const int urgency = text.toInt(&ok);
    return ok && urgency >= 1 && urgency <= 9 ? urgency : 0;
}

void ImageMetadata::setIptcUrgency(int urgency) {
    if (urgency < 0 || urgency > 9) {
        raiseError(err::InvalidProcedureCall,
                   QStringLiteral("The IPTC urgency is 0 (none) to 9, not %1.").arg(urgency));
    }
    setIptcText(iptc::Urgency, urgency == 0 ? QString() : QString::number(urgency));
}

QStringList ImageMetadata::iptcList(int dataset) const {
    QStringList items;
    for (const Exiv2::Iptcdatum& d : d_->iptc) {
        if (isApplication(d, dataset)) {
            items << QString::fromStdString(d.toString());
        }
    }
    return items;
}

int ImageMetadata::iptcListCount(int dataset) const {
    return int(std::count_if(d_->iptc.begin(), d_->iptc.end(),
                             [dataset](const Exiv2::Iptcdatum& d) { return isApplication(d, dataset); }));
}

QString ImageMetadata::iptcListItem(int dataset, int index) const {
    int seen = 0;
    for (const Exiv2::Iptcdatum& d : d_->iptc) {
        if (isApplication(d, dataset) && seen++ == index) {
            return QString::fromStdString(d.toString());
        }
    }
    return {};
}

void ImageMetadata::clearIptcList(int dataset) {
    d_->iptcChanged = true;
    eraseDataset(d_->iptc, dataset);
}

void ImageMetadata::addIptcListItem(int dataset, const QString& text) {
    checkDataset(dataset);
    d_->iptcChanged = true;
    addText(d_->iptc, dataset, text);
}

QByteArray ImageMetadata::iptcStream() const {
    return streamOf(d_->iptc);
}

void ImageMetadata::setIptcStream(const QByteArray& stream) {
    const QString fault = iptctext::checkRecordStream(stream);
    if (!fault.isEmpty()) {
        raiseError(err::Unexpected, QStringLiteral("This is no IPTC data: %1.").arg(fault));
    }
    Exiv2::IptcData parsed;
    if (Exiv2::IptcParser::decode(parsed, reinterpret_cast<const Exiv2::byte*>(stream.constData()),
                                  uint32_t(stream.size())) != 0) {
        raiseError(err::Unexpected, QStringLiteral("This is no IPTC data."));
    }
    iptctext::normalise(parsed);
    d_->iptc = parsed;
    d_->iptcChanged = true;
}

void ImageMetadata::saveIptcFile(const QString& path) const {
    const QByteArray stream = iptcStream();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(stream) != stream.size() || !file.commit()) {
        raiseError(err::DeviceIO,
                   QStringLiteral("Cannot write \"%1\": %2").arg(path, file.errorString()));
    }
}

void ImageMetadata::loadIptcFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        raiseError(err::FileNotFound,
                   QStringLiteral("Cannot open \"%1\": %2").arg(path, file.errorString()));
    }
    if (file.size() > kMaxIptcFileBytes) {
        raiseError(err::Unexpected,
                   QStringLiteral("\"%1\" is too large for an IPTC file.").arg(path));
    }
    try {
        setIptcStream(file.readAll());
    } catch (const AppError& e) {
        raiseError(e.number(), QStringLiteral("\"%1\": %2").arg(path, e.description()));
    }
}

} // namespace picbasket
