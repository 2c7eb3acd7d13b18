#pragma once
#include "export/GeneratorDemoDialog.h"

namespace picbasket {

// "Generate a greeting image": a program of the previewed image with fireworks,
// with Setup.Greeting's quality and task flag.
class frmGreetingDemo : public GeneratorDemoDialog {
    Q_OBJECT

public:
    explicit frmGreetingDemo(const GeneratorSources& sources, QWidget* parent = nullptr,
                             LinkOpener opener = {});

    QLabel* lblUsage = nullptr;

    void cmdGenerate_Click() override;
};

} // namespace picbasket
