#include "platform/scan/ScanSettingsDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace picbasket {

namespace {

QString deviceCaption(const ScanDevice& d) {
    const QString model = QStringList{d.vendor, d.model}.join(' ').trimmed();
    return model.isEmpty() ? d.name : QStringLiteral("%1 (%2)").arg(model, d.name);
}

// Fills a list with texts and selects `wanted`, or else `fallback`.
void fill(QComboBox* box, const QStringList& items, const QString& wanted, const QString& fallback) {
    box->clear();
    box->addItems(items);
    int index = box->findText(wanted);
    if (index < 0)
        index = box->findText(fallback);
    box->setCurrentIndex(std::max(index, items.isEmpty() ? -1 : 0));
    box->setEnabled(!items.isEmpty());
}

void fillNumbers(QComboBox* box, const std::vector<int>& values, int wanted, int fallback,
                 const QString& unit) {
    box->clear();
    for (int v : values)
        box->addItem(unit.isEmpty() ? QString::number(v) : QStringLiteral("%1 %2").arg(v).arg(unit), v);
    int index = box->findData(wanted);
    if (index < 0)
        index = box->findData(fallback);
    box->setCurrentIndex(std::max(index, values.empty() ? -1 : 0));
    box->setEnabled(!values.empty());
}

} // namespace

ScanSettingsDialog::ScanSettingsDialog(std::vector<ScanDeviceOptions> devices, ScanSettings last,
                                       QWidget* parent)
    : QDialog(parent), devices_(std::move(devices)), last_(std::move(last)) {
    setWindowTitle(QStringLiteral("Select Source"));
    setObjectName(QStringLiteral("ScanSettingsDialog"));
    cboDevice = new QComboBox(this);
    cboMode = new QComboBox(this);
    cboDepth = new QComboBox(this);
    cboResolution = new QComboBox(this);
    cboSource = new QComboBox(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Scanner:"), cboDevice);
    form->addRow(QStringLiteral("Source:"), cboSource);
    form->addRow(QStringLiteral("Mode:"), cboMode);
    form->addRow(QStringLiteral("Bit depth:"), cboDepth);
    form->addRow(QStringLiteral("Resolution:"), cboResolution);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Scan"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    for (const ScanDeviceOptions& d : devices_)
        cboDevice->addItem(deviceCaption(d.device), d.device.name);
    connect(cboDevice, &QComboBox::currentIndexChanged, this, &ScanSettingsDialog::showDevice);
    const int lastIndex = cboDevice->findData(last_.device);
    cboDevice->setCurrentIndex(std::max(0, lastIndex));
    showDevice(cboDevice->currentIndex());
    setMinimumWidth(360);
}

void ScanSettingsDialog::showDevice(int index) {
    if (index < 0 || index >= int(devices_.size()))
        return;
    const ScanDeviceOptions& d = devices_[size_t(index)];
    // The last settings only count for their own device.
    const bool same = d.device.name == last_.device;
    fill(cboSource, d.sources, same ? last_.source : d.source, d.source);
    fill(cboMode, d.modes, same ? last_.mode : d.mode, d.mode);
    fillNumbers(cboDepth, d.depths, same ? last_.depth : d.depth, d.depth, {});
    fillNumbers(cboResolution, d.resolutions, same ? last_.resolution : d.resolution, d.resolution,
                QStringLiteral("dpi"));
}

ScanSettings ScanSettingsDialog::settings() const {
    ScanSettings s;
    s.device = cboDevice->currentData().toString();
    if (cboSource->isEnabled())
        s.source = cboSource->currentText();
    if (cboMode->isEnabled())
        s.mode = cboMode->currentText();
    if (cboDepth->isEnabled())
        s.depth = cboDepth->currentData().toInt();
    if (cboResolution->isEnabled())
        s.resolution = cboResolution->currentData().toInt();
    // What the dialog does not show is kept from the last run on the same device.
    if (s.device == last_.device)
        s.extra = last_.extra;
    return s;
}

void installScanSettingsDialog() {
    setScanPrompt([](const std::vector<ScanDeviceOptions>& devices,
                     const ScanSettings& last) -> std::optional<ScanSettings> {
        ScanSettingsDialog dialog(devices, last, QApplication::activeWindow());
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.settings();
    });
}

} // namespace picbasket
