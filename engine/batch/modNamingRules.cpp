#include "engine/batch/modNamingRules.h"

#include "core/AppError.h"
#include "core/Convert.h"
#include "core/DateFormat.h"
#include "core/ErrorHandler.h"
#include "core/fileinfo/clsFileInfo.h"
#include "engine/batch/ExifDateNames.h"
#include "platform/imagebox/ImageBox.h"

#include <QHash>

namespace picbasket {

namespace {

NamingClock& namingClock() {
    static NamingClock clock = [] { return QDateTime::currentDateTime(); };
    return clock;
}

// The time the date tokens of the current naming call read.
thread_local QDateTime t_now;

QDateTime now() {
    return t_now;
}

QString shortDate(const QDateTime& date) {
    return formatDate(date, QStringLiteral("m.d.yyyy"));
}

// "Make-Model" style pairs: empty when both halves are empty.
QString pairOrEmpty(const QString& first, const QString& joiner, const QString& second) {
    const QString pair = first + joiner + second;
    return pair.trimmed() == joiner ? QString() : pair;
}

// Cameras pad their EXIF texts to a fixed length with blanks or NULs ("PENTAX
// Corporation " and "PENTAX K10D        "); a name takes the text without them.
QString trimmedExifText(const QString& text) {
    const auto padding = [](QChar c) { return c.isSpace() || c.isNull(); };
    qsizetype first = 0, last = text.size();
    while (first < last && padding(text[first]))
        ++first;
    while (last > first && padding(text[last - 1]))
        --last;
    return text.mid(first, last - first);
}

// An EXIF date text as a date; invalid for what is no date. Cameras with an unset
// clock write "0000:00:00 00:00:00", blanks or a date alone, and such a photo is
// named as one without a date, not refused.
QDateTime exifTextToDate(const ImageBox& box, const QString& text) {
    try {
        return box.ExifStringToDate(text);
    } catch (const AppError&) {
        return {};
    }
}

// The first EXIF date attribute's value as a date; today when the image has EXIF
// but no date attribute, invalid when it has no EXIF at all or an unknown date.
QDateTime exifDate(const ImageBox& box) {
    const int count = box.ExifCount();
    if (count == 0)
        return {};
    for (int i = 0; i < count; ++i)
        if (fncIsDateAttribute(box.ExifNameByIndex(i)))
            return exifTextToDate(box, trimmedExifText(box.ExifValueByIndex(i)));
    return now();
}

QString exifDateText(const ImageBox& box, bool withTime) {
    const QDateTime date = exifDate(box);
    if (!date.isValid())
        return {};
    return withTime ? formatDateDots(date) : shortDate(date);
}

QString iptcDateText(const ImageBox& box, QDateTime (ImageBox::*member)() const) {
    if (!box.HasIptc())
        return {};
    const QDateTime date = (box.*member)();
    return date.isValid() ? formatDateDots(date) : QString();
}

QString iptcText(const ImageBox& box, QString (ImageBox::*member)() const) {
    return box.HasIptc() ? (box.*member)() : QString();
}

QString resultingSize(const ImageBox& box, const QString& extension) {
    const int format = fncNamingFormatCode(extension);
    return format < 0 ? QString() : fncSizeInKb(box.EncodedSize(format));
}

// A date of the row's file in the dotted form; empty when the file is missing.
QString sourceFileDate(const QString& sourcePath, QDateTime (clsFileInfo::*member)() const) {
    clsFileInfo info;
    info.setFilePath(sourcePath);
    const QDateTime date = (info.*member)();
    return date.isValid() ? formatDateDots(date) : QString();
}

QString sourceSize(const QString& sourcePath) {
    clsFileInfo info;
    info.setFilePath(sourcePath);
    return info.fSizeFormated(0);
}

using TokenRule = std::function<QString(ImageBox&, const QString& source, const QString& ext)>;

QString exifByName(const ImageBox& box, const char* name) {
    return trimmedExifText(box.ExifValueByName(QString::fromLatin1(name)));
}

const QHash<QString, TokenRule>& tokenRules() {
    static const QHash<QString, TokenRule> rules = [] {
        QHash<QString, TokenRule> r;
        r["[No Prefix]"] = [](ImageBox&, const QString&, const QString&) { return QString(); };
        r["[Resulting resolution]"] = [](ImageBox& b, const QString&, const QString&) {
            return QString::number(b.ImageWidth()) + "x" + QString::number(b.ImageHeight());
        };
        r["[Resulting size]"] = [](ImageBox& b, const QString&, const QString& ext) {
            return resultingSize(b, ext);
        };
        r["[Date Today-Time]"] = [](ImageBox&, const QString&, const QString&) {
            return formatDateDots(now());
        };
        r["[Date Today]"] = [](ImageBox&, const QString&, const QString&) {
            return shortDate(now());
        };
        r["[Source resolution]"] = [](ImageBox& b, const QString&, const QString&) {
            return b.Tag();
        };
        r["[Source size]"] = [](ImageBox&, const QString& s, const QString&) {
            return sourceSize(s);
        };
        r["[Source Date Created]"] = [](ImageBox&, const QString& s, const QString&) {
            return sourceFileDate(s, &clsFileInfo::dateCreated);
        };
        r["[Source Date Modified]"] = [](ImageBox&, const QString& s, const QString&) {
            return sourceFileDate(s, &clsFileInfo::dateModified);
        };
        r["[Source Date Accessed]"] = [](ImageBox&, const QString& s, const QString&) {
            return sourceFileDate(s, &clsFileInfo::dateAccessed);
        };
        const std::pair<const char*, const char*> exifNames[] = {
            {"[EXIF Image Description]", "ImageDescription"},
            {"[EXIF Artist]", "Artist"},
            {"[EXIF Make]", "Make"},
            {"[EXIF Model]", "Model"}};
        for (const auto& entry : exifNames) {
            // A named copy, not the structured binding: clang before 16 cannot capture one.
            const char* name = entry.second;
            r[QString::fromLatin1(entry.first)] =
                [name](ImageBox& b, const QString&, const QString&) { return exifByName(b, name); };
        }
        r["[EXIF Date]"] = [](ImageBox& b, const QString&, const QString&) {
            return exifDateText(b, false);
        };
        r["[EXIF Date-Time]"] = [](ImageBox& b, const QString&, const QString&) {
            return exifDateText(b, true);
        };
        r["[EXIF Make & Model]"] = [](ImageBox& b, const QString&, const QString&) {
            return pairOrEmpty(exifByName(b, "Make"), "-", exifByName(b, "Model"));
        };
        r["[EXIF X-Y Dimension]"] = [](ImageBox& b, const QString&, const QString&) {
            return pairOrEmpty(exifByName(b, "PixelXDimension"), "x",
                               exifByName(b, "PixelYDimension"));
        };
        r["[IPTC Headline]"] = [](ImageBox& b, const QString&, const QString&) {
            return iptcText(b, &ImageBox::IptcHeadline);
        };
        r["[IPTC Caption]"] = [](ImageBox& b, const QString&, const QString&) {
            return iptcText(b, &ImageBox::IptcCaption);
        };
        r["[IPTC Author]"] = [](ImageBox& b, const QString&, const QString&) {
            return iptcText(b, &ImageBox::IptcAuthor);
        };
        r["[IPTC Date Created]"] = [](ImageBox& b, const QString&, const QString&) {
            return iptcDateText(b, &ImageBox::IptcDateCreated);
        };
        r["[IPTC Date Released]"] = [](ImageBox& b, const QString&, const QString&) {
            return iptcDateText(b, &ImageBox::IptcDateReleased);
        };
        const TokenRule referenceDate = [](ImageBox& b, const QString&, const QString&) {
            return iptcDateText(b, &ImageBox::IptcReferenceDate);
        };
        r["[IPTC Ref. Date]"] = referenceDate;
        r["[IPTC Reference Date]"] = referenceDate;
        const TokenRule referenceNumber = [](ImageBox& b, const QString&, const QString&) {
            return iptcText(b, &ImageBox::IptcReferenceNumber);
        };
        r["[IPTC Ref. Number]"] = referenceNumber;
        r["[IPTC Reference Number]"] = referenceNumber;
        return r;
    }();
    return rules;
}

} // namespace

QString fncCleanNamePart(QString text) {
    text.replace(QLatin1Char('/'), QLatin1Char('_'));
    text.replace(QChar(u'\0'), QLatin1Char('_'));
    return text;
}

QString fncVisibleStem(const QString& stem) {
    for (const QChar c : stem)
        if (!c.isSpace() && c != QLatin1Char('.'))
            return stem;
    return QStringLiteral("_");
}

const QStringList& fncNamingTokens() {
    static const QStringList tokens = {QStringLiteral("[No Prefix]"),
                                       QStringLiteral("[Resulting resolution]"),
                                       QStringLiteral("[Resulting size]"),
                                       QStringLiteral("[Date Today-Time]"),
                                       QStringLiteral("[Date Today]"),
                                       QStringLiteral("[Source resolution]"),
                                       QStringLiteral("[Source size]"),
                                       QStringLiteral("[Source Date Created]"),
                                       QStringLiteral("[Source Date Modified]"),
                                       QStringLiteral("[Source Date Accessed]"),
                                       QStringLiteral("[EXIF Image Description]"),
                                       QStringLiteral("[EXIF Artist]"),
                                       QStringLiteral("[EXIF Date]"),
                                       QStringLiteral("[EXIF Date-Time]"),
                                       QStringLiteral("[EXIF Make]"),
                                       QStringLiteral("[EXIF Model]"),
                                       QStringLiteral("[EXIF Make & Model]"),
                                       QStringLiteral("[EXIF X-Y Dimension]"),
                                       QStringLiteral("[IPTC Headline]"),
                                       QStringLiteral("[IPTC Caption]"),
                                       QStringLiteral("[IPTC Author]"),
                                       QStringLiteral("[IPTC Date Created]"),
                                       QStringLiteral("[IPTC Date Released]"),
                                       QStringLiteral("[IPTC Ref. Date]"),
                                       QStringLiteral("[IPTC Ref. Number]")};
    return tokens;
}

QString fncGetSeparator(const QString& separator) {
    if (separator == QLatin1String("[WhiteSpace]"))
        return QStringLiteral(" ");
    if (separator == QLatin1String("[No Separator]"))
        return {};
    return fncCleanNamePart(separator);
}

QString fncRetrieveNamingString(ImageBox& box, const QString& token, const QString& sourcePath,
                                const QString& targetExtension) {
    return fncRetrieveNamingString(box, token, sourcePath, targetExtension, fncNamingNow());
}

QDateTime fncNamingNow() {
    return namingClock()();
}

QString fncRetrieveNamingString(ImageBox& box, const QString& token, const QString& sourcePath,
                                const QString& targetExtension, const QDateTime& now) {
    t_now = now;
    QString result;
    errorTail(QStringLiteral("fncRetrieveNamingString"), [&] {
        if (!box.HasImage())
            return;
        const auto rule = tokenRules().constFind(token);
        result =
            rule == tokenRules().constEnd() ? token : (*rule)(box, sourcePath, targetExtension);
        result = fncCleanNamePart(result);
    });
    return result;
}

QString fncSizeInKb(int64_t bytes) {
    const double kilobytes = roundHalfEven(double(bytes) / 1024.0);
    return QString::number(int64_t(kilobytes)) + QStringLiteral("Kb");
}

int fncNamingFormatCode(const QString& extension) {
    static const QHash<QString, int> codes = {
        {"tif", ImageBox::FormatTiff},  {"tiff", ImageBox::FormatTiff},
        {"pdf", ImageBox::FormatPdf},   {"jpg", ImageBox::FormatJpeg},
        {"jpeg", ImageBox::FormatJpeg}, {"jpe", ImageBox::FormatJpeg},
        {"psd", ImageBox::FormatPsd},   {"pcx", ImageBox::FormatPcx},
        {"wbmp", ImageBox::FormatWbmp}, {"wap", ImageBox::FormatWbmp},
        {"wbm", ImageBox::FormatWbmp},  {"bmp", ImageBox::FormatBmp},
        {"gif", ImageBox::FormatGif},   {"png", ImageBox::FormatPng}};
    return codes.value(extension, -1);
}

NamingClock setNamingClock(NamingClock clock) {
    NamingClock previous = namingClock();
    namingClock() = clock ? std::move(clock) : [] { return QDateTime::currentDateTime(); };
    return previous;
}

} // namespace picbasket
