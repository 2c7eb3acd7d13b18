#include "platform/print/QtPrintBackend.h"

#include "core/AppError.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QSpinBox>

namespace picbasket {

namespace {

constexpr double MillimetresPerInch = 25.4;

// The "Image" tab of the print dialog: our settings that Qt's dialog has no control
// for.
class PrintOptionsPanel : public QWidget {
public:
    explicit PrintOptionsPanel(const PrintSettings& s) {
        setWindowTitle(QStringLiteral("Image"));
        setObjectName(QStringLiteral("PrintOptionsPanel"));
        auto* form = new QFormLayout(this);
        scale = new QComboBox(this);
        scale->setObjectName(QStringLiteral("cboPrintScale"));
        scale->addItems({QStringLiteral("Fit to page"), QStringLiteral("Image resolution"),
                         QStringLiteral("Percent of image resolution")});
        scale->setCurrentIndex(std::clamp<int>(s.P88, 0, 2));
        percent = spin(QStringLiteral("txtPrintPercent"), 1, 1000, s.P8B, QStringLiteral(" %"));
        left = spin(QStringLiteral("txtPrintLeft"), 0, 1000, s.P85, QStringLiteral(" mm"));
        top = spin(QStringLiteral("txtPrintTop"), 0, 1000, s.P86, QStringLiteral(" mm"));
        centreH = new QCheckBox(QStringLiteral("Centre horizontally"), this);
        centreH->setObjectName(QStringLiteral("chkPrintCentreH"));
        centreH->setChecked(s.P8C);
        centreV = new QCheckBox(QStringLiteral("Centre vertically"), this);
        centreV->setObjectName(QStringLiteral("chkPrintCentreV"));
        centreV->setChecked(s.P8D);
        form->addRow(QStringLiteral("Scale"), scale);
        form->addRow(QStringLiteral("Percent"), percent);
        form->addRow(QStringLiteral("Left offset"), left);
        form->addRow(QStringLiteral("Top offset"), top);
        form->addRow(centreH);
        form->addRow(centreV);
    }

    void readBack(PrintSettings& s) const {
        s.P88 = uint8_t(scale->currentIndex());
        s.P8B = percent->value();
        s.P85 = left->value();
        s.P86 = top->value();
        s.P8C = centreH->isChecked();
        s.P8D = centreV->isChecked();
    }

    QComboBox* scale;
    QDoubleSpinBox* percent;
    QDoubleSpinBox* left;
    QDoubleSpinBox* top;
    QCheckBox* centreH;
    QCheckBox* centreV;

private:
    QDoubleSpinBox* spin(const QString& name, double min, double max, double value,
                         const QString& suffix) {
        auto* box = new QDoubleSpinBox(this);
        box->setObjectName(name);
        box->setRange(min, max);
        box->setDecimals(1);
        box->setSuffix(suffix);
        box->setValue(std::clamp(value, min, max));
        return box;
    }
};

} // namespace

QtPrintBackend::QtPrintBackend() : printer_(QPrinter::HighResolution) {}

QtPrintBackend::~QtPrintBackend() {
    if (painter_.isActive())
        painter_.end();
}

void QtPrintBackend::applySettings(const PrintSettings& s) {
    printer_.setPageOrientation(s.P84 == 1 ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (s.P87 >= 0 && s.P87 <= int(QPageSize::LastPageSize) && s.P87 != int(QPageSize::Custom))
        printer_.setPageSize(QPageSize(QPageSize::PageSizeId(s.P87)));
    printer_.setCopyCount(std::max(1, s.P8A));
    printer_.setColorMode(s.P11B == 1 ? QPrinter::GrayScale : QPrinter::Color);
}

void QtPrintBackend::readBack(PrintSettings& s) {
    const QPageLayout layout = printer_.pageLayout();
    s.P84 = layout.orientation() == QPageLayout::Landscape ? 1 : 0;
    const QPageSize::PageSizeId id = layout.pageSize().id();
    s.P87 = id == QPageSize::Custom ? -1 : int32_t(id);
    s.P8A = std::max(1, printer_.copyCount());
    s.P11B = printer_.colorMode() == QPrinter::GrayScale ? 1 : 0;
}

bool QtPrintBackend::beginJob(PrintSettings& settings, bool showDialog) {
    if (painter_.isActive())
        endJob();
    applySettings(settings);
    if (showDialog) {
        QPrintDialog dialog(&printer_, QApplication::activeWindow());
        // Every image of the job is printed, each on a page of its own.
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        auto* panel = new PrintOptionsPanel(settings);
        dialog.setOptionTabs({panel});
        if (hook_)
            hook_(dialog);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        readBack(settings);
        panel->readBack(settings);
    }
    if (!painter_.begin(&printer_))
        raiseError(err::Unexpected, QStringLiteral("The printer cannot start the job"));
    firstPage_ = true;
    return true;
}

void QtPrintBackend::printPage(const QImage& image, const PrintSettings& settings) {
    if (!painter_.isActive())
        raiseError(err::Unexpected, QStringLiteral("No print job is open"));
    if (!firstPage_ && !printer_.newPage())
        raiseError(err::Unexpected, QStringLiteral("The printer cannot start a new page"));
    firstPage_ = false;
    const QRectF area = printer_.pageLayout().paintRect(QPageLayout::Millimeter);
    const QRectF place = fncPrintPlacement(area.size(), image, settings);
    const double dots = printer_.resolution() / MillimetresPerInch;
    const QRectF target(place.x() * dots, place.y() * dots, place.width() * dots,
                        place.height() * dots);
    const QImage drawn =
        settings.P11B == 1 ? image.convertToFormat(QImage::Format_Grayscale8) : image;
    painter_.drawImage(target, drawn);
}

void QtPrintBackend::endJob() {
    if (painter_.isActive())
        painter_.end();
}

} // namespace picbasket
