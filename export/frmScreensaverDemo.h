#pragma once
#include "export/GeneratorDemoDialog.h"

namespace picbasket {

// "Generate a screensaver": of the previewed image (lngGenerateMode 0) or of the
// whole image basket (1), with Setup.Screensaver's quality and task flag.
class frmScreensaverDemo : public GeneratorDemoDialog {
    Q_OBJECT

public:
    explicit frmScreensaverDemo(const GeneratorSources& sources, QWidget* parent = nullptr,
                                LinkOpener opener = {});

    // 0 the previewed file alone, 1 the image basket; set before the window shows.
    int32_t lngGenerateMode = 0;

    void cmdGenerate_Click() override;
};

} // namespace picbasket
