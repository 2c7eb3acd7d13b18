// Changing one metadata attribute of the previewed image and writing it into the
// file at once, and the date texts the editing dialogs exchange.
#include "metadata/modMetadata.h"

#include "core/AppError.h"
#include "core/DateFormat.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "engine/batch/ExifDateNames.h"
#include "platform/comctl/ListView.h"
#include "platform/imagebox/ImageBox.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <functional>

namespace picbasket {

namespace {

QString extensionOf(const QString& path) {
    return QFileInfo(path).suffix().toLower();
}

// 12 AM is midnight, 12 PM noon; without a marker the hour is on the 24-hour clock.
std::optional<int> hourOf(int hour, const QString& marker) {
    if (marker.isEmpty())
        return hour <= 23 ? std::optional(hour) : std::nullopt;
    if (hour < 1 || hour > 12)
        return std::nullopt;
    const bool pm = marker.compare(QLatin1String("PM"), Qt::CaseInsensitive) == 0;
    return hour % 12 + (pm ? 12 : 0);
}

using TextSetter = std::function<void(ImageBox&, const QString&)>;
using DateSetter = void (ImageBox::*)(const QDateTime&);

TextSetter text(void (ImageBox::*member)(const QString&)) {
    return [member](ImageBox& box, const QString& value) { (box.*member)(value); };
}

// The IPTC text fields by the caption of their list row.
const QHash<QString, TextSetter>& iptcTextSetters() {
    static const QHash<QString, TextSetter> table = [] {
        QHash<QString, TextSetter> t{
            {QStringLiteral("Caption"), text(&ImageBox::setIptcCaption)},
            {QStringLiteral("Caption Writer"), text(&ImageBox::setIptcCaptionWriter)},
            {QStringLiteral("Headline"), text(&ImageBox::setIptcHeadline)},
            {QStringLiteral("Special Instructions"), text(&ImageBox::setIptcSpecialInstructions)},
            {QStringLiteral("Category"), text(&ImageBox::setIptcCategory)},
            {QStringLiteral("By (Author)"), text(&ImageBox::setIptcByline)},
            {QStringLiteral("By Title (Author's Position)"), text(&ImageBox::setIptcBylineTitle)},
            {QStringLiteral("Credit"), text(&ImageBox::setIptcCredit)},
            {QStringLiteral("Source"), text(&ImageBox::setIptcSource)},
            {QStringLiteral("Object Name (Title)"), text(&ImageBox::setIptcObjectName)},
            {QStringLiteral("City"), text(&ImageBox::setIptcCity)},
            {QStringLiteral("Province/State"), text(&ImageBox::setIptcProvinceState)},
            {QStringLiteral("Country Name"), text(&ImageBox::setIptcCountryName)},
            {QStringLiteral("Original Transmission Reference (OTR)"),
             text(&ImageBox::setIptcTransmissionReference)},
            {QStringLiteral("Copyright Notice"), text(&ImageBox::setIptcCopyrightNotice)},
            {QStringLiteral("Image URL"), text(&ImageBox::setIptcImageUrl)},
            {QStringLiteral("Edit Status"), text(&ImageBox::setIptcEditStatus)},
            {QStringLiteral("Fixture Identifier"), text(&ImageBox::setIptcFixtureIdentifier)},
            {QStringLiteral("Reference Service"), text(&ImageBox::setIptcReferenceService)},
            {QStringLiteral("Reference Number"), text(&ImageBox::setIptcReferenceNumber)},
            {QStringLiteral("Originating Program"), text(&ImageBox::setIptcOriginatingProgram)},
            {QStringLiteral("Program Version"), text(&ImageBox::setIptcProgramVersion)},
            {QStringLiteral("Object Cycle"), text(&ImageBox::setIptcObjectCycle)},
            {QStringLiteral("Sublocation"), text(&ImageBox::setIptcSublocation)},
            {QStringLiteral("Country Code"), text(&ImageBox::setIptcCountryCode)},
            {QStringLiteral("Local Caption"), text(&ImageBox::setIptcLocalCaption)},
            {QStringLiteral("Image Notes"), text(&ImageBox::setIptcImageNotes)},
        };
        for (int n = 1; n <= 20; ++n)
            t.insert(QStringLiteral("Custom Field %1").arg(n),
                     [n](ImageBox& box, const QString& value) { box.setIptcCustomField(n, value); });
        return t;
    }();
    return table;
}

const QHash<QString, DateSetter>& iptcDateSetters() {
    static const QHash<QString, DateSetter> table{
        {QStringLiteral("Date Created"), &ImageBox::setIptcDateCreated},
        {QStringLiteral("Date Released"), &ImageBox::setIptcDateReleased},
        {QStringLiteral("Time Released"), &ImageBox::setIptcTimeReleased},
        {QStringLiteral("Reference Date"), &ImageBox::setIptcReferenceDate},
        {QStringLiteral("Time Created"), &ImageBox::setIptcTimeCreated},
    };
    return table;
}

// An empty text removes the date; a text that is no date is refused.
bool setIptcDate(ImageBox& box, DateSetter setter, const QString& value) {
    if (value.trimmed().isEmpty()) {
        (box.*setter)(QDateTime());
        return true;
    }
    const std::optional<DateText> date = fncParseDateText(value);
    if (!date)
        return false;
    (box.*setter)(date->value);
    return true;
}

bool setIptcAttribute(ImageBox& box, const QString& name, const QString& value) {
    if (const auto field = iptcTextSetters().constFind(name); field != iptcTextSetters().cend()) {
        (*field)(box, value);
        return true;
    }
    if (const auto field = iptcDateSetters().constFind(name); field != iptcDateSetters().cend())
        return setIptcDate(box, *field, value);
    return false;
}

bool setExifAttribute(ImageBox& box, const QString& name, const QString& value) {
    QString stored = value;
    if (fncIsDateAttribute(name)) {
        const std::optional<DateText> date = fncParseDateText(value);
        if (!date)
            return false;
        stored = box.DateToExifString(date->value);
    }
    if (!box.SetExifAttribute(name, stored))
        return false;
    box.SetExifAttribute(QStringLiteral("Software"), SoftwareName);
    return true;
}

} // namespace

std::optional<DateText> fncParseDateText(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(\\d{1,2})/(\\d{1,2})/(\\d{4})"
                       "(?:\\s+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?(?:\\s*([AaPp][Mm]))?)?\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(3).toInt(), match.captured(1).toInt(),
                     match.captured(2).toInt());
    if (!date.isValid())
        return std::nullopt;
    DateText result;
    result.hasTime = match.hasCaptured(4);
    QTime time(0, 0);
    if (result.hasTime) {
        const std::optional<int> hour = hourOf(match.captured(4).toInt(), match.captured(7));
        if (!hour)
            return std::nullopt;
        time = QTime(*hour, match.captured(5).toInt(), match.captured(6).toInt());
        if (!time.isValid())
            return std::nullopt;
    }
    result.value = QDateTime(date, time);
    return result;
}

QString fncDatePartText(const QDateTime& date) {
    return formatDate(date, QStringLiteral("m/d/yyyy"));
}

QString fncTimePartText(const QDateTime& date) {
    return formatDate(date, QStringLiteral("h:mm:ss AM/PM"));
}

bool fncTakesMetadata(const QString& path) {
    static const QStringList types{"jpg", "jpeg", "jpe", "tif", "tiff", "psd"};
    return types.contains(extensionOf(path));
}

bool fncTakesExif(const QString& path) {
    static const QStringList types{"jpg", "jpeg", "jpe", "tif", "tiff"};
    return types.contains(extensionOf(path));
}

// Only the metadata is written, so an unconfirmed edit on the preview, the other
// pages of a TIFF and the layers of a PSD never reach the file.
bool subSaveMetadata(const ImageBox& box, const QString& path) {
    if (!fncTakesMetadata(path))
        return false;
    box.SaveJpegMetadata(path);
    return true;
}

bool fncSetAttribute(ImageBox& box, bool isIPTC, const QString& name, const QString& value) {
    return isIPTC ? setIptcAttribute(box, name, value) : setExifAttribute(box, name, value);
}

bool fncUpdateAttribute(const QString& filePath, bool isIPTC, const QString& name,
                        const QString& value, ImageBox& box) {
    bool updated = false;
    const ImageMetadata before = box.MetadataSnapshot();
    errorTail(QStringLiteral("modMetadata.fncUpdateAttribute"), [&] {
        CurrentActivity = QStringLiteral("Updating metadata attribute");
        try {
            if (!fncSetAttribute(box, isIPTC, name, value))
                return;
            subSaveMetadata(box, filePath);
            updated = true;
        } catch (...) {
            box.RestoreMetadata(before);
            throw;
        }
    });
    return updated;
}

bool fncDeleteAttribute(const QString& name, ImageBox& box, ListView* list) {
    bool deleted = false;
    errorTail(QStringLiteral("modMetadata.fncDeleteAttribute"), [&] {
        CurrentActivity = QStringLiteral("Deleting exif attribute from the selected file");
        if (!list)
            raiseError(err::ObjectNotSet);
        const QString path = list->Tag();
        if (!box.HasImage())
            box.LoadFromFile(path);
        const ImageMetadata before = box.MetadataSnapshot();
        try {
            if (!box.DeleteExifAttribute(name))
                return;
            box.SetExifAttribute(QStringLiteral("Software"), SoftwareName);
            subSaveMetadata(box, path);
        } catch (...) {
            box.RestoreMetadata(before);
            throw;
        }
        if (list->SelectedItem() > 0)
            list->Remove(list->SelectedItem());
        deleted = true;
    });
    return deleted;
}

bool fncDeleteIPTC_Keywords_suppCat(const QString& filePath, const QString& name,
                                    ImageBox& box) {
    bool deleted = false;
    const ImageMetadata before = box.MetadataSnapshot();
    errorTail(QStringLiteral("modMetadata.fncDeleteIPTC_Keywords_suppCat"), [&] {
        try {
            if (name == QLatin1String("Keywords"))
                box.ClearIptcKeywords();
            else if (name == QLatin1String("Supplemental Categories"))
                box.ClearIptcSupplementalCategories();
            else
                return;
            subSaveMetadata(box, filePath);
            deleted = true;
        } catch (...) {
            box.RestoreMetadata(before);
            throw;
        }
    });
    return deleted;
}

} // namespace picbasket
