// The image box's printing: the ten print settings and PrintImage over the
// installed PrintBackend.
#include "core/AppError.h"
#include "platform/imagebox/ImageBox.h"

#include <QPageSize>
#include <cmath>

namespace picbasket {

namespace {

constexpr double MaxOffset = 1000; // millimetres
constexpr double MaxPercent = 1000;
constexpr int32_t MaxCopies = 999;

void refuseSetting(const char* name, const QString& value) {
    raiseError(err::InvalidProcedureCall,
               QStringLiteral("%1 is no valid value of %2").arg(value, QLatin1String(name)));
}

void checkRange(const char* name, double value, double min, double max) {
    if (!std::isfinite(value) || value < min || value > max)
        refuseSetting(name, QString::number(value));
}

} // namespace

void ImageBox::setPrintProperty84(uint8_t orientation) {
    checkRange("PrintProperty84", orientation, 0, 1);
    print_.P84 = orientation;
}

void ImageBox::setPrintProperty85(double millimetres) {
    checkRange("PrintProperty85", millimetres, 0, MaxOffset);
    print_.P85 = millimetres;
}

void ImageBox::setPrintProperty86(double millimetres) {
    checkRange("PrintProperty86", millimetres, 0, MaxOffset);
    print_.P86 = millimetres;
}

void ImageBox::setPrintProperty87(int32_t pageSize) {
    if (pageSize != -1 && (pageSize < 0 || pageSize > int32_t(QPageSize::LastPageSize) ||
                           pageSize == int32_t(QPageSize::Custom)))
        refuseSetting("PrintProperty87", QString::number(pageSize));
    print_.P87 = pageSize;
}

void ImageBox::setPrintProperty88(uint8_t scale) {
    checkRange("PrintProperty88", scale, 0, 2);
    print_.P88 = scale;
}

void ImageBox::setPrintProperty8A(int32_t copies) {
    checkRange("PrintProperty8A", copies, 1, MaxCopies);
    print_.P8A = copies;
}

void ImageBox::setPrintProperty8B(double percent) {
    if (!(percent > 0))
        refuseSetting("PrintProperty8B", QString::number(percent));
    checkRange("PrintProperty8B", percent, 0, MaxPercent);
    print_.P8B = percent;
}

void ImageBox::setPrintProperty11B(int32_t grey) {
    checkRange("PrintProperty11B", grey, 0, 1);
    print_.P11B = grey;
}

int ImageBox::PrintImage() {
    requireImage();
    PrintBackend* backend = printBackend();
    if (!backend)
        raiseError(err::Unexpected, QStringLiteral("No printer is available"));
    if (printDialog_ || !backend->jobOpen()) {
        PrintSettings chosen = print_;
        if (!backend->beginJob(chosen, printDialog_))
            return 0;
        print_ = chosen;
    }
    backend->printPage(image_, print_);
    return 1;
}

void ImageBox::EndPrintJob() {
    PrintBackend* backend = printBackend();
    if (backend && backend->jobOpen())
        backend->endJob();
}

} // namespace picbasket
