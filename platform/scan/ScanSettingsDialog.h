#pragma once
#include "platform/scan/ScanSource.h"

#include <QDialog>
#include <vector>

class QComboBox;
class QLabel;

namespace picbasket {

// The settings prompt of scanning: the device, then the mode, bit depth, resolution
// and source that device offers. It starts from the last settings of the run when
// their device is chosen, from the device's own values otherwise. A setting the
// device does not have is shown disabled and left to the device.
class ScanSettingsDialog : public QDialog {
    Q_OBJECT

public:
    ScanSettingsDialog(std::vector<ScanDeviceOptions> devices, ScanSettings last,
                       QWidget* parent = nullptr);

    // The settings shown now.
    ScanSettings settings() const;

    QComboBox* cboDevice;
    QComboBox* cboMode;
    QComboBox* cboDepth;
    QComboBox* cboResolution;
    QComboBox* cboSource;

private:
    // Fills the four setting lists from the device at that index.
    void showDevice(int index);

    std::vector<ScanDeviceOptions> devices_;
    ScanSettings last_;
};

// Installs the dialog as the settings prompt, shown modally over the active window.
void installScanSettingsDialog();

} // namespace picbasket
