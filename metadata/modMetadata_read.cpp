// The two readers that fill the EXIF and IPTC lists from the image in an image box.
#include "metadata/modMetadata.h"

#include "core/AppError.h"
#include "core/DateFormat.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "platform/comctl/ListView.h"
#include "platform/imagebox/ImageBox.h"

#include <QDate>
#include <functional>
#include <vector>

namespace picbasket {

namespace {

// An EXIF date as the list shows it; a text that is no date (cameras write
// "0000:00:00 00:00:00" for "unknown") shows as it stands.
QString exifDateText(const ImageBox& box, const QString& raw) {
    try {
        return formatDateSlashes(box.ExifStringToDate(raw.trimmed()));
    } catch (const AppError&) {
        return raw;
    }
}

QString exifValueText(const ImageBox& box, const QString& name, const QString& raw) {
    if (fncIsDateAttribute(name))
        return exifDateText(box, raw);
    const QString readable = fncEXIFInterpret(name, raw);
    return readable.isEmpty() ? raw : readable;
}

// Each row goes in whole, so a list the user sorted keeps its order.
void addExifRow(const ImageBox& box, ListView& list, int index) {
    const QString name = box.ExifNameByIndex(index);
    const QString raw = box.ExifValueByIndex(index);
    const bool editable = fncIsEditableAttribute(name);
    ListView::Row row;
    row.tag = name;
    row.subItems = {exifValueText(box, name, raw)};
    row.smallIconKey = editable ? EditableMarkKey : QString();
    const QString shown = fncFormattedAttributed(name);
    row.text = shown.isEmpty() ? name : shown;
    const int added = list.AddRow(row);
    if (editable)
        list.setKey(added, name);
}

// One fixed short form, whatever the locale, because the edit dialog reads the
// text back. The empty date (no value, or day 0 of the date serials) shows empty.
QString iptcDateText(const QDateTime& date) {
    if (!date.isValid() || date.date() == QDate(1899, 12, 30))
        return {};
    return formatDate(date, QStringLiteral("m/d/yyyy"));
}

struct IptcRow {
    QString caption;
    std::function<QString(const ImageBox&)> value;
};

IptcRow text(const char* caption, QString (ImageBox::*member)() const) {
    return {QString::fromUtf8(caption), [member](const ImageBox& b) { return (b.*member)(); }};
}

IptcRow date(const char* caption, QDateTime (ImageBox::*member)() const) {
    return {QString::fromUtf8(caption),
            [member](const ImageBox& b) { return iptcDateText((b.*member)()); }};
}

// The IPTC rows in the order the list shows them.
const std::vector<IptcRow>& iptcRows() {
    static const std::vector<IptcRow> rows = [] {
        std::vector<IptcRow> r = {
            text("Caption", &ImageBox::IptcCaption),
            text("Caption Writer", &ImageBox::IptcCaptionWriter),
            text("Headline", &ImageBox::IptcHeadline),
            text("Special Instructions", &ImageBox::IptcSpecialInstructions),
            {QStringLiteral("Keywords"),
             [](const ImageBox& b) { return b.IptcKeywords().join(QLatin1Char(',')); }},
            text("Category", &ImageBox::IptcCategory),
            {QStringLiteral("Supplemental Categories"),
             [](const ImageBox& b) {
                 return b.IptcSupplementalCategories().join(QLatin1Char(','));
             }},
            text("By (Author)", &ImageBox::IptcByline),
            text("By Title (Author's Position)", &ImageBox::IptcBylineTitle),
            text("Credit", &ImageBox::IptcCredit),
            text("Source", &ImageBox::IptcSource),
            text("Object Name (Title)", &ImageBox::IptcObjectName),
            text("City", &ImageBox::IptcCity),
            text("Province/State", &ImageBox::IptcProvinceState),
            text("Country Name", &ImageBox::IptcCountryName),
            text("Original Transmission Reference (OTR)", &ImageBox::IptcTransmissionReference),
            text("Copyright Notice", &ImageBox::IptcCopyrightNotice),
            text("Image URL", &ImageBox::IptcImageUrl),
            date("Date Created", &ImageBox::IptcDateCreated),
            text("Edit Status", &ImageBox::IptcEditStatus),
            text("Fixture Identifier", &ImageBox::IptcFixtureIdentifier),
            date("Date Released", &ImageBox::IptcDateReleased),
            text("Reference Service", &ImageBox::IptcReferenceService),
            date("Reference Date", &ImageBox::IptcReferenceDate),
            text("Reference Number", &ImageBox::IptcReferenceNumber),
            text("Originating Program", &ImageBox::IptcOriginatingProgram),
            text("Program Version", &ImageBox::IptcProgramVersion),
            text("Object Cycle", &ImageBox::IptcObjectCycle),
            text("Sublocation", &ImageBox::IptcSublocation),
            text("Country Code", &ImageBox::IptcCountryCode),
            text("Local Caption", &ImageBox::IptcLocalCaption),
        };
        for (int n = 1; n <= 20; ++n)
            r.push_back({QStringLiteral("Custom Field %1").arg(n),
                         [n](const ImageBox& b) { return b.IptcCustomField(n); }});
        r.push_back(text("Image Notes", &ImageBox::IptcImageNotes));
        return r;
    }();
    return rows;
}

ListView& listOrRaise(ListView* list) {
    if (!list)
        raiseError(err::ObjectNotSet);
    return *list;
}

} // namespace

void ReadFileEXIFInfo(ImageBox& box, ListView* list, const QString& filePath) {
    errorTail(QStringLiteral("modMetadata.ReadFileEXIFInfo"), [&] {
        CurrentActivity = QStringLiteral("Reading EXIF information from the selected file!");
        if (!box.HasImage())
            return;
        ListView& rows = listOrRaise(list);
        rows.setTag(filePath);
        for (int i = 0; i < box.ExifCount(); ++i)
            addExifRow(box, rows, i);
    });
}

void ReadFileIPTCInfo(ImageBox& box, ListView* list, const QString& filePath) {
    errorTail(QStringLiteral("modMetadata.ReadFileIPTCInfo"), [&] {
        CurrentActivity = QStringLiteral("Reading IPTC information from the selected file!");
        if (!box.HasImage())
            return;
        ListView& rows = listOrRaise(list);
        rows.setTag(filePath);
        for (const IptcRow& field : iptcRows()) {
            ListView::Row row;
            row.text = field.caption;
            row.subItems = {field.value(box)};
            row.smallIconKey = EditableMarkKey;
            rows.AddRow(row);
        }
    });
}

} // namespace picbasket
