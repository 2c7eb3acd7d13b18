#include "core/AppError.h"
#include "platform/imagebox/ImageBox.h"

namespace picbasket {

namespace {

// The OLE date of a bare time, and the empty OLE date.
const QDate kOleEpoch(1899, 12, 30);

bool isEmptyDate(const QDateTime& value) {
    return !value.isValid() || (value.date() == kOleEpoch && value.time() == QTime(0, 0));
}

} // namespace

// A file whose metadata cannot be read still loads: it simply carries none.
void ImageBox::readMetadataFrom(const QString& path) {
    metadata_.readFrom(path);
    statedResolution_ = imagebox::statedResolutionOfFile(path);
}

// A file the box has just written holds its image: the metadata is made to
// describe that image, not the file it was read from.
void ImageBox::writeMetadataTo(const QString& path, int format) {
    metadataLeftOut_.clear();
    if ((format == FormatJpeg || format == FormatTiff) && metadata_.hasAnythingToWrite()) {
        metadata_.writeIntoOutput(path, image_);
        metadataLeftOut_ = metadata_.leftOutOfOutput();
    }
}

bool ImageBox::SetExifAttribute(const QString& name, const QString& text) {
    return metadata_.setExif(name, text);
}

bool ImageBox::DeleteExifAttribute(const QString& name) {
    return metadata_.deleteExif(name);
}

void ImageBox::DeleteAllExif() {
    metadata_.deleteAllExif();
}

QDateTime ImageBox::ExifStringToDate(const QString& text) const {
    return ImageMetadata::exifStringToDate(text);
}

QString ImageBox::DateToExifString(const QDateTime& date) const {
    return ImageMetadata::dateToExifString(date);
}

void ImageBox::DeleteAllIptc() {
    metadata_.deleteAllIptc();
}

QString ImageBox::IptcCustomField(int n) const {
    const int dataset = iptc::customFieldDataset(n);
    if (dataset == 0) {
        raiseError(err::SubscriptOutOfRange);
    }
    return metadata_.iptcText(dataset);
}

void ImageBox::setIptcCustomField(int n, const QString& text) {
    const int dataset = iptc::customFieldDataset(n);
    if (dataset == 0) {
        raiseError(err::SubscriptOutOfRange);
    }
    metadata_.setIptcText(dataset, text);
}

QDateTime ImageBox::iptcDateAt(int dataset) const {
    const QDate date = metadata_.iptcDate(dataset);
    return date.isValid() ? QDateTime(date, QTime(0, 0)) : QDateTime();
}

void ImageBox::setIptcDateAt(int dataset, const QDateTime& value) {
    metadata_.setIptcDate(dataset, isEmptyDate(value) ? QDate() : value.date());
}

QDateTime ImageBox::iptcTimeAt(int dataset) const {
    const QTime time = metadata_.iptcTime(dataset);
    return time.isValid() ? QDateTime(kOleEpoch, time) : QDateTime();
}

void ImageBox::setIptcTimeAt(int dataset, const QDateTime& value) {
    metadata_.setIptcTime(dataset, value.isValid() ? value.time() : QTime());
}

void ImageBox::setIptcUrgency(int urgency) {
    metadata_.setIptcUrgency(urgency);
}

QString ImageBox::iptcListItem(int dataset, int index) const {
    if (index < 0 || index >= metadata_.iptcListCount(dataset)) {
        raiseError(err::SubscriptOutOfRange);
    }
    return metadata_.iptcListItem(dataset, index);
}

void ImageBox::ClearIptcKeywords() {
    metadata_.clearIptcList(iptc::Keywords);
}

void ImageBox::AddIptcKeyword(const QString& text) {
    metadata_.addIptcListItem(iptc::Keywords, text);
}

void ImageBox::ClearIptcSupplementalCategories() {
    metadata_.clearIptcList(iptc::SupplementalCategory);
}

void ImageBox::AddIptcSupplementalCategory(const QString& text) {
    metadata_.addIptcListItem(iptc::SupplementalCategory, text);
}

void ImageBox::SaveIptcToFile(const QString& path) const {
    metadata_.saveIptcFile(path);
}

void ImageBox::LoadIptcFromFile(const QString& path) {
    metadata_.loadIptcFile(path);
}

void ImageBox::SaveJpegMetadata(const QString& path) const {
    metadata_.writeInto(path);
}

} // namespace picbasket
