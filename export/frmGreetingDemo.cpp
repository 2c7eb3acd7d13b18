#include "export/frmGreetingDemo.h"

#include "core/setup/modSetup.h"

#include <QLabel>

namespace picbasket {

frmGreetingDemo::frmGreetingDemo(const GeneratorSources& sources, QWidget* parent,
                                 LinkOpener opener)
    : GeneratorDemoDialog(sources, picbasket::Setup.Greeting.Quality,
                          picbasket::Setup.Greeting.ProcessTasks, parent, std::move(opener)) {
    setObjectName(QStringLiteral("frmGreetingDemo"));
    setWindowTitle(QStringLiteral("Generate a greeting image"));
    lblUsage = new QLabel(QStringLiteral("USAGE: When you run a greeting image, you can press 'F' "
                                         "to toggle between fullscreen and fixed image size"),
                          this);
    lblUsage->setObjectName(QStringLiteral("lblUsage"));
    addNote(lblUsage);
    Form_Load();
}

void frmGreetingDemo::cmdGenerate_Click() {
    saveSetupCommon();
    hide();
    const QString name =
        fncAskOutputName(QStringLiteral("Save as greeting image"),
                         QStringLiteral("Greeting images (*.run)|*.run"), QStringLiteral(".run"));
    if (!name.isEmpty()) {
        const QString templatePath = fncExtractTemplate(QStringLiteral("GREETING"));
        if (!templatePath.isEmpty())
            subMakeSingleScreensaver(sources_, templatePath, name, sources_.previewedFile,
                                     picbasket::Setup.Greeting.Quality,
                                     picbasket::Setup.Greeting.ProcessTasks, true);
    }
    accept();
}

} // namespace picbasket
