#include "platform/imagebox/DecoderDamage.h"

#include <FreeImage.h>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <tiffio.h>

namespace picbasket::imagebox {

namespace {

thread_local DamageWatch* currentWatch = nullptr;

// Qt's JPEG reader passes libjpeg's warnings ("Corrupt JPEG data: ...", "Premature
// end of JPEG file") to this logging category and goes on decoding.
constexpr const char* JpegCategory = "qt.gui.imageio.jpeg";

QString tiffText(const char* module, const char* format, va_list args) {
    return QString::fromUtf8(module ? module : "") + ": " + QString::vasprintf(format, args);
}

// libtiff's notes while it reads a directory describe tags, not pixels: unknown
// or private tags, trimmed counts, text without its terminating zero. A strip or
// tile that lies past the data is found by our own structure check.
bool isDirectoryModule(const char* module) {
    static const char* const prefixes[] = {"TIFFReadDir",
                                           "TIFFFetch",
                                           "TIFFReadCustomDir",
                                           "TIFFReadEXIFDir",
                                           "TIFFReadGPSDir",
                                           "_TIFFVSetField",
                                           "_TIFFVGetField",
                                           "TIFFAdvanceDirectory",
                                           "TIFFNumberOfDirectories",
                                           "TIFFFieldWithTag"};
    if (!module)
        return false;
    for (const char* prefix : prefixes)
        if (std::strncmp(module, prefix, std::strlen(prefix)) == 0)
            return true;
    return false;
}

void onTiffError(const char* module, const char* format, va_list args) {
    const QString text = tiffText(module, format, args);
    // FreeImage's tag table asks libtiff about EXIF tags libtiff does not list.
    if (!text.contains("unknown tag"))
        DamageWatch::report(text);
}

void onTiffWarning(const char* module, const char* format, va_list args) {
    const QString text = tiffText(module, format, args);
    if (!isDirectoryModule(module) || text.contains("IO error"))
        DamageWatch::report(text);
}

QtMessageHandler previousHandler = nullptr;
QLoggingCategory::CategoryFilter previousFilter = nullptr;

void onQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && context.category &&
        std::strcmp(context.category, JpegCategory) == 0)
        DamageWatch::report(message);
    if (previousHandler) {
        previousHandler(type, context, message);
        return;
    }
    const QString line = qFormatLogMessage(type, context, message);
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

// The JPEG category's warnings must be emitted for the watch to hear them,
// whatever the logging rules say about printing them.
void keepJpegWarnings(QLoggingCategory* category) {
    if (previousFilter)
        previousFilter(category);
    if (std::strcmp(category->categoryName(), JpegCategory) == 0)
        category->setEnabled(QtWarningMsg, true);
}

void installHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        TIFFSetErrorHandler(onTiffError);
        TIFFSetWarningHandler(onTiffWarning);
        previousHandler = qInstallMessageHandler(onQtMessage);
        previousFilter = QLoggingCategory::installFilter(keepJpegWarnings);
    });
}

} // namespace

DamageWatch::DamageWatch() : outer_(currentWatch) {
    installHandlers();
    currentWatch = this;
}

DamageWatch::~DamageWatch() {
    currentWatch = outer_;
    if (outer_ && outer_->first_.isEmpty())
        outer_->first_ = first_;
}

void DamageWatch::report(const QString& text) {
    if (currentWatch && currentWatch->first_.isEmpty())
        currentWatch->first_ =
            text.isEmpty() ? QStringLiteral("the decoder reported damage") : text;
}

bool isDamageMessage(int freeImageFormat, const QString& message) {
    // libpng names the chunk a warning is about; a lower-case first letter marks
    // an ancillary chunk (text, colour profile, time), which never holds pixels.
    static const QRegularExpression ancillary(QStringLiteral("^[a-z][A-Za-z]{3}: "));
    if (freeImageFormat == FIF_PNG && ancillary.match(message).hasMatch())
        return false;
    return true;
}

} // namespace picbasket::imagebox
