// The name tables of the metadata lists, the name tests and the rational halves.
#include "metadata/modMetadata.h"

#include "Version.h"
#include "engine/batch/ExifDateNames.h"
#include "platform/comctl/ListView.h"

#include <algorithm>
#include <limits>

namespace picbasket {

namespace {

template <size_t N> bool inTable(const std::array<QString, N>& table, const QString& name) {
    const QString wanted = name.trimmed().toLower();
    return std::any_of(table.begin(), table.end(),
                       [&](const QString& entry) { return entry.toLower() == wanted; });
}

// A whole number in the 32-bit range, blanks around it allowed; 0 otherwise.
int32_t wholeNumberOrZero(const QString& text) {
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (!ok || value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max())
        return 0;
    return static_cast<int32_t>(value);
}

} // namespace

void subInitMetadataTables() {
    EditableExifNames = {QStringLiteral("Make"),
                         QStringLiteral("Model"),
                         QStringLiteral("DateTime"),
                         QStringLiteral("ImageDescription"),
                         QStringLiteral("Artist"),
                         QStringLiteral("Copyright"),
                         QStringLiteral("DateTimeOriginal"),
                         QStringLiteral("DateTimeDigitized"),
                         QStringLiteral("UserComment"),
                         QStringLiteral("PixelXDimension"),
                         QStringLiteral("PixelYDimension")};
    DateExifNames = exifDateAttributeNames();
    IptcDateNames = {QStringLiteral("Date Created"), QStringLiteral("Date Released"),
                     QStringLiteral("Time Released"), QStringLiteral("Reference Date"),
                     QStringLiteral("Time Created")};
    SoftwareName = QString::fromUtf8(version::Title);
}

bool fncIsEditableAttribute(const QString& name) {
    return inTable(EditableExifNames, name);
}

bool fncIsIPTCDateAttribute(const QString& name) {
    return inTable(IptcDateNames, name);
}

bool fncAttributeNotInList(const ListView* list, const QString& name) {
    if (!list)
        return true;
    for (int row = 1; row <= list->Count(); ++row) {
        const QString key = list->Key(row);
        if (!key.isEmpty() && key == name)
            return false;
    }
    return true;
}

int32_t fncRationalNumerator(const QString& value) {
    const qsizetype slash = value.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? 0 : wholeNumberOrZero(value.left(slash));
}

int32_t fncRationalDenominator(const QString& value) {
    const qsizetype slash = value.lastIndexOf(QLatin1Char('/'));
    return wholeNumberOrZero(slash < 0 ? value : value.mid(slash + 1));
}

} // namespace picbasket
