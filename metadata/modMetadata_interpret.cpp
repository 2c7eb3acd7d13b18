// Readable texts for raw EXIF values and display names for raw EXIF attribute names.
#include "metadata/modMetadata.h"

#include "core/Convert.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"

#include <QHash>
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

namespace picbasket {

namespace {

// An attribute whose whole-number value names one of a few texts; a number not
// listed gives the fallback, which is empty for most.
struct Enumeration {
    std::vector<std::pair<qlonglong, const char*>> texts;
    const char* otherwise = nullptr;
};

struct EnumerationRow {
    const char* name;
    std::vector<std::pair<qlonglong, const char*>> texts;
    const char* otherwise = nullptr;
};

const QHash<QString, Enumeration>& enumerations() {
    static const EnumerationRow rows[] = {
        {"Orientation",
         {{1, "Upper Left"},
          {2, "Upper Right"},
          {3, "Bottom Right"},
          {4, "Bottom Left"},
          {5, "Left Upper"},
          {6, "Right Upper"},
          {7, "Right bottom"},
          {8, "Left bottom"}}},
        {"ResolutionUnit", {{1, "No unit"}, {2, "Inches"}, {3, "Centimeters"}}},
        {"YCbCrPositioning", {{1, "Center of pixel array"}, {2, "Datum point(co-sited)"}}},
        {"ExposureProgram",
         {{1, "Manual control"},
          {2, "Normal program"},
          {3, "Aperture priority"},
          {4, "Shutter priority"},
          {5, "Program creative (slow program)"},
          {6, "Program action(high-speed program)"},
          {7, "Portrait mode"},
          {8, "Landscape mode"}}},
        {"MeteringMode",
         {{0, "Unknown"},
          {1, "Average"},
          {2, "Center weighted average"},
          {3, "Spot"},
          {4, "Multi-spot"},
          {5, "Multi-segment"},
          {6, "Partial"},
          {255, "Other"}}},
        {"LightSource",
         {{0, "Unknown"},
          {1, "Daylight"},
          {2, "Fluorescent"},
          {3, "Tungsten"},
          {4, "Flash"},
          {9, "Fine weather"},
          {10, "Cloudy weather"},
          {11, "Shade"},
          {12, "Daylight fluorescent (D 5700-7100K)"},
          {13, "Day white fluorescent (N 4600-5400K)"},
          {14, "Cool white fluorescent (W 3900-4500K)"},
          {15, "White fluorescent (WW 3200-3700K)"},
          {17, "Standard light A"},
          {18, "Standard light B"},
          {19, "Standard light C"},
          {20, "D55"},
          {21, "D65"},
          {22, "D75"},
          {23, "D50"},
          {24, "ISO studio tungesten"},
          {255, "Other light source"}}},
        {"Flash",
         {{0, "Flash did not fire"},
          {1, "Flash fired"},
          {5, "Strobe return light not detected"},
          {7, "Strobe return light detected"},
          {9, "Flash fired, compulsory flash mode"},
          {13, "Flash fired, compulsory flash mode, return light not detected"},
          {15, "Flash fired, compulsory flash mode, return light detected"},
          {16, "Flash did not fire, compulsory flash mode"},
          {24, "Flash did not fire, auto mode"},
          {25, "Flash fired, auto mode"},
          {29, "Flash fired, auto mode, return light not detected"},
          {31, "Flash fired, auto mode, return light detected"},
          {32, "No flash function"},
          {65, "Flash fired, red-eye reduction mode"},
          {69, "Flash fired, red-eye reduction mode, return light not detected"},
          {71, "Flash fired, red-eye reduction mode, return light detected"},
          {73, "Flash fired, compulsory flash mode, red-eye reduction mode"},
          {77,
           "Flash fired, compulsory flash mode, red-eye reduction mode, return light not detected"},
          {79, "Flash fired, compulsory flash mode, red-eye reduction mode, return light detected"},
          {89, "Flash fired, auto mode, red-eye reduction mode"},
          {93, "Flash fired, auto mode, return light not detected, red-eye reduction mode"},
          {95, "Flash fired, auto mode, return light detected, red-eye reduction mode"}}},
        {"ColorSpace", {{1, "sRGB"}, {65535, "Uncalibrated"}}},
        {"SceneType", {{1, "Directly photographed image"}}, "Unknown"},
        {"CustomRendered", {{0, "Normal process"}, {1, "Custom process"}}},
        {"ExposureMode",
         {{0, "Easy Shooting"},
          {1, "Program"},
          {2, "Tv-priority"},
          {3, "Av-priority"},
          {4, "Manual"},
          {5, "A-DEP"}}},
        {"WhiteBalance",
         {{0, "Auto"},
          {1, "Sunny"},
          {2, "Cloudy"},
          {3, "Tungsten"},
          {4, "Fluorescent"},
          {5, "Flash"},
          {6, "Custom"}}},
        {"SceneCaptureType",
         {{0, "Standard"}, {1, "Landscape"}, {2, "Portrait"}, {3, "Night Scene"}}},
        {"Contrast", {{0, "Normal"}, {1, "Soft"}, {2, "Hard"}}},
        {"Sharpness", {{0, "Normal"}, {1, "Soft"}, {2, "Hard"}}},
        {"Saturation", {{0, "Normal"}, {1, "Low saturation"}, {2, "High saturation"}}},
        {"ISOSpeedRatings",
         {{0, "See ISOSpeedRatings Tag"},
          {15, "Auto"},
          {16, "50"},
          {17, "100"},
          {18, "200"},
          {19, "400"}}},
        {"SensingMethod",
         {{1, "Not defined"},
          {2, "One-chip color area sensor"},
          {3, "Two-chip color area sensor"},
          {4, "Three-chip color area sensor"},
          {5, "Color sequential area sensor"},
          {7, "Trilinear sensor"},
          {8, "Color sequential linear sensor"}}},
        {"GainControl",
         {{0, "None"},
          {1, "Low gain up"},
          {2, "High gain up"},
          {3, "Low gain down"},
          {4, "High gain down"}}},
        {"SubjectDistanceRange",
         {{0, "Unknown"}, {1, "Macro"}, {2, "Close view"}, {3, "Distant view"}}},
        {"FocalPlaneResolutionUnit", {{1, "pixels"}, {2, "dpi"}, {3, "dpcm"}}},
        {"FileSource",
         {{0, "DSC (Digital Still Camera)"}, {3, "DSC (Digital Still Camera)"}},
         "Other"},
        {"NewSubfileType",
         {{1, "Reduced Resolution"}, {2, "Single Page"}, {4, "Transparency Mask"}}},
        {"SubfileType", {{1, "Full Resolution"}, {2, "Reduced Resolution"}, {3, "Single Page"}}},
        {"Compression",
         {{1, "PackBytes"},
          {2, "CCITT Group3"},
          {3, "CCITT T4"},
          {4, "CCITT T6"},
          {5, "LZW"},
          {6, "JPEG"},
          {32773, "PackBits"}}},
        {"PhotometricInterpretation",
         {{0, "WhiteIsZero"},
          {1, "BlackIsZero"},
          {2, "RGB"},
          {3, "RGB Palette"},
          {4, "Transparency Mask"},
          {5, "CMYK"},
          {6, "YCbCr"},
          {8, "CIELab"}}},
        {"Threshholding", {{1, "No Dithering"}, {2, "Ordered Dither"}, {3, "Randomized"}}},
        {"FillOrder", {{1, "Low in High"}, {2, "High in Low"}}},
        {"PlanarConfiguration", {{1, "Chunky"}, {2, "Planar"}}},
    };
    static const QHash<QString, Enumeration> table = [] {
        QHash<QString, Enumeration> byName;
        for (const EnumerationRow& row : rows)
            byName.insert(QString::fromLatin1(row.name), Enumeration{row.texts, row.otherwise});
        return byName;
    }();
    return table;
}

std::optional<qlonglong> wholeNumber(const QString& text) {
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    return ok ? std::optional<qlonglong>(value) : std::nullopt;
}

// A rational "N/D" split at its last "/", each half a whole number (signed, and
// wide enough for the unsigned 32-bit halves of EXIF). Nothing for any other text.
struct Rational {
    double n = 0;
    double d = 0;
    double value() const { return n / d; }
};

std::optional<Rational> rational(const QString& text) {
    const qsizetype slash = text.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return std::nullopt;
    const auto n = wholeNumber(text.left(slash));
    const auto d = wholeNumber(text.mid(slash + 1));
    if (!n || !d)
        return std::nullopt;
    return Rational{static_cast<double>(*n), static_cast<double>(*d)};
}

// A rational with a denominator other than 0; a quotient that is no finite number
// counts as none either, so the caller shows the raw value.
std::optional<double> quotient(const QString& text) {
    const auto r = rational(text);
    if (!r || r->d == 0)
        return std::nullopt;
    const double q = r->value();
    return std::isfinite(q) ? std::optional<double>(q) : std::nullopt;
}

std::optional<double> finite(double value) {
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

double roundToTenths(double value) {
    return roundHalfEven(value * 10.0) / 10.0;
}

// The pattern "0.00": two decimals, halves to even, "." as separator, no "-0.00".
QString twoDecimals(double value) {
    const double hundredths = roundHalfEven(value * 100.0);
    if (hundredths == 0)
        return QStringLiteral("0.00");
    return QString::number(hundredths / 100.0, 'f', 2);
}

QString exposureTime(const QString& value) {
    const auto r = rational(value);
    if (!r)
        return {};
    if (r->n == 0)
        return QStringLiteral("1s");
    if (r->d == 0)
        return {};
    return QStringLiteral("1/") + cStr(r->d / r->n) + QStringLiteral(" s");
}

// The APEX aperture: the f-number is the square root of 2 to the power of the value.
QString aperture(const QString& value) {
    const auto q = quotient(value);
    const auto f = q ? finite(std::pow(std::sqrt(2.0), *q)) : std::nullopt;
    return f ? QStringLiteral("f/") + cStr(roundToTenths(*f)) : QString();
}

// The APEX shutter speed: the exposure is 1 / 2 to the power of the value. A speed
// that rounds to 0 (exposures of many seconds) has no "1/x" text.
QString shutterSpeed(const QString& value) {
    const auto q = quotient(value);
    const auto s = q ? finite(std::pow(2.0, *q)) : std::nullopt;
    if (!s || roundToTenths(*s) == 0)
        return {};
    return QStringLiteral("1/") + cStr(roundToTenths(*s)) + QStringLiteral(" s");
}

QString exifVersion(const QString& value) {
    if (value.size() < 8)
        return {};
    return value.mid(4, 1) + QLatin1Char('.') + value.mid(7, 1);
}

QString flashPixVersion(const QString& value) {
    static const QStringList versionOne = {"30,31,30,30", "30,30,31,30", "30,30,30,31",
                                           "31,30,30,30"};
    return versionOne.contains(value.trimmed()) ? QStringLiteral("1.0") : QString();
}

QString componentsConfiguration(const QString& value) {
    static const QHash<QString, QString> table = {{"04,05,06,00", "RGB"},
                                                  {"00,06,05,04", "RGB"},
                                                  {"00,04,05,06", "RGB"},
                                                  {"04,05,06", "RGB"},
                                                  {"06,05,04", "RGB"},
                                                  {"01,02,03,00", "YCrCb"},
                                                  {"00,03,02,01", "YCrCb"},
                                                  {"00,01,02,03", "YCrCb"},
                                                  {"01,02,03", "YCrCb"},
                                                  {"03,02,01", "YCrCb"},
                                                  {"00", "Does not exist"},
                                                  {"01", "Y"},
                                                  {"02", "Cr"},
                                                  {"03", "Cb"},
                                                  {"04", "Red"},
                                                  {"05", "Green"},
                                                  {"06", "Blue"}};
    return table.value(value.trimmed());
}

QString withSuffix(const std::optional<double>& number, const QString& prefix,
                   const QString& suffix) {
    return number ? prefix + cStr(*number) + suffix : QString();
}

using Interpreter = std::function<QString(const QString&)>;

// The attributes that are computed from their value rather than looked up.
const QHash<QString, Interpreter>& interpreters() {
    static const QHash<QString, Interpreter> table = {
        {"ExposureTime", exposureTime},
        {"FNumber", [](const QString& v) { return withSuffix(quotient(v), "f/", {}); }},
        {"ExposureBiasValue",
         [](const QString& v) {
             const auto q = quotient(v);
             return q ? twoDecimals(*q) + QStringLiteral(" EV") : QString();
         }},
        {"MaxApertureValue", aperture},
        {"ApertureValue", aperture},
        {"ShutterSpeedValue", shutterSpeed},
        {"FocalLength", [](const QString& v) { return withSuffix(quotient(v), {}, " mm"); }},
        {"FocalLengthIn35mmFilm", [](const QString& v) { return v + QStringLiteral(" mm"); }},
        {"DigitalZoomRatio",
         [](const QString& v) {
             const auto r = rational(v);
             return r ? cStr(r->n) + QLatin1Char(':') + cStr(r->d) : QString();
         }},
        {"ExposureIndex", [](const QString& v) { return withSuffix(quotient(v), {}, {}); }},
        {"CompressedBitsPerPixel",
         [](const QString& v) { return withSuffix(quotient(v), {}, {}); }},
        {"ExifVersion", exifVersion},
        {"FlashPixVersion", flashPixVersion},
        {"ComponentsConfiguration", componentsConfiguration},
    };
    return table;
}

QString enumerationText(const Enumeration& e, const QString& value) {
    const auto number = wholeNumber(value);
    if (!number)
        return {};
    for (const auto& [n, text] : e.texts)
        if (n == *number)
            return QString::fromUtf8(text);
    return e.otherwise ? QString::fromUtf8(e.otherwise) : QString();
}

} // namespace

const QHash<QString, QString>& exifDisplayNames() {
    static const QHash<QString, QString> table = {
        {"CFARepeatPatternDim", "CFA Repeat Pattern Dimension"},
        {"CFAPattern", "CFA Pattern"},
        {"BatteryLevel", "Battery Level"},
        {"ExposureTime", "Exposure Time"},
        {"FNumber", "F-Number"},
        {"ExifOffset", "Exif Offset"},
        {"InterColorProfile", "Inter Color Profile"},
        {"ExposureProgram", "Exposure Program"},
        {"SpectralSensitivity", "Spectral Sensitivity"},
        {"ISOSpeedRatings", "ISO Speed Ratings"},
        {"ExifVersion", "Exif Version"},
        {"DateTimeOriginal", "Date/Time Original"},
        {"DateTimeDigitized", "Date/Time Digitized"},
        {"ComponentsConfiguration", "Components Configuration"},
        {"CompressedBitsPerPixel", "Compressed BPP"},
        {"ShutterSpeedValue", "Shutter Speed Value"},
        {"ApertureValue", "Aperture Value"},
        {"BrightnessValue", "Brightness Value"},
        {"ExposureBiasValue", "Exposure Bias Value"},
        {"MaxApertureValue", "Max. Aperture Value"},
        {"SubjectDistance", "Subject Distance"},
        {"MeteringMode", "Metering Mode"},
        {"LightSource", "Light Source"},
        {"FocalLength", "Focal Length"},
        {"SubjectArea", "Subject Area"},
        {"MakerNote", "Maker Note"},
        {"UserComment", "User Comment"},
        {"SubSecTime", "Sub-Second Time"},
        {"SubSecTimeOriginal", "Sub-Second Time Original"},
        {"SubSecTimeDigitized", "Sub-Second Time Digitized"},
        {"FlashPixVersion", "Flash Pix Version"},
        {"ColorSpace", "Color Space"},
        {"ExifImageWidth", "Exif Image Width"},
        {"ExifImageLength", "Exif Image Length"},
        {"RelatedAudioFile", "Related Audio File"},
        {"InteroperabilityOffset", "Interoperability Offset"},
        {"FlashEnergy", "Flash Energy"},
        {"SpatialFrequencyResponse", "Spatial Frequency Response"},
        {"FocalPlaneXResolution", "Focal Plane X Resolution"},
        {"FocalPlaneYResolution", "Focal Plane Y Resolution"},
        {"FocalPlaneResolutionUnit", "Focal Plane Resolution Unit"},
        {"SubjectLocation", "Subject Location"},
        {"ExposureIndex", "Exposure Index"},
        {"SensingMethod", "Sensing Method"},
        {"FileSource", "File Source"},
        {"SceneType", "Scene Type"},
        {"CustomRendered", "Custom Rendered"},
        {"ExposureMode", "Exposure Mode"},
        {"WhiteBalance", "White Balance"},
        {"DigitalZoomRatio", "Digital Zoom Ratio"},
        {"FocalLengthIn35mmFilm", "FocalLength In 35mm Film"},
        {"SceneCaptureType", "Scene Capture Type"},
        {"GainControl", "Gain Control"},
        {"DeviceSettingDescription", "Device Setting Description"},
        {"SubjectDistanceRange", "Subject Distance Range"},
        {"ImageUniqueID", "Image Unique ID"},
        {"NewSubfileType", "New Subfile Type"},
        {"SubfileType", "Subfile Type"},
        {"BitsPerSample", "Bits Per Sample"},
        {"PhotometricInterpretation", "Photometric Interpretation"},
        {"FillOrder", "Fill Order"},
        {"ImageDescription", "Image Description"},
        {"StripOffsets", "Strip Offsets"},
        {"SamplesPerPixel", "Samples Per Pixel"},
        {"RowsPerStrip", "Rows Per Strip"},
        {"StripByteCounts", "Strip Byte Counts"},
        {"XResolution", "X Resolution"},
        {"YResolution", "Y Resolution"},
        {"PlanarConfiguration", "Planar Configuration"},
        {"ResolutionUnit", "Resolution Unit"},
        {"PageNumber", "Page Number"},
        {"TransferFunction", "Transfer Function"},
        {"DateTime", "Date/Time"},
        {"WhitePoint", "White Point"},
        {"PrimaryChromaticities", "Primary Chromaticities"},
        {"ColorMap", "Color Map"},
        {"JPEGInterchangeFormat", "JPEG Interchange Format"},
        {"JPEGInterchangeFormatLength", "JPEG Interchange Format Length"},
        {"YCbCrCoefficients", "YCbCr Coefficients"},
        {"YCbCrSubSampling", "YCbCr SubSampling"},
        {"YCbCrPositioning", "YCbCr Positioning"},
        {"ReferenceBlackWhite", "Reference Black/White"},
        {"GPSInfo", "GPS Info"},
        {"PixelXDimension", "Pixel X Dimension"},
        {"PixelYDimension", "Pixel Y Dimension"},
    };
    return table;
}

QString fncEXIFInterpret(const QString& name, const QString& value) {
    QString text;
    errorTail(QStringLiteral("modMetadata.fncEXIFInterpret"), [&] {
        CurrentActivity = QStringLiteral("Read exif attribute - '") + name +
                          QStringLiteral("' with Value '") + value +
                          QStringLiteral("' and interpret it to readable format");
        if (const auto computed = interpreters().find(name); computed != interpreters().end())
            text = computed.value()(value);
        else if (const auto e = enumerations().find(name); e != enumerations().end())
            text = enumerationText(e.value(), value);
    });
    return text;
}

QString fncFormattedAttributed(const QString& name) {
    QString text;
    errorTail(QStringLiteral("modMetadata.fncFormattedAttributed"), [&] {
        CurrentActivity = QStringLiteral("Formatting Exif Attribute name");
        text = exifDisplayNames().value(name);
    });
    return text;
}

} // namespace picbasket
