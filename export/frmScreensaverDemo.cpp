#include "export/frmScreensaverDemo.h"

#include "core/setup/modSetup.h"

namespace picbasket {

frmScreensaverDemo::frmScreensaverDemo(const GeneratorSources& sources, QWidget* parent,
                                       LinkOpener opener)
    : GeneratorDemoDialog(sources, picbasket::Setup.Screensaver.Quality,
                          picbasket::Setup.Screensaver.ProcessTasks, parent, std::move(opener)) {
    setObjectName(QStringLiteral("frmScreensaverDemo"));
    setWindowTitle(QStringLiteral("Generate a screensaver"));
    Form_Load();
}

void frmScreensaverDemo::cmdGenerate_Click() {
    hide();
    saveSetupCommon();
    if (lngGenerateMode == 0 || lngGenerateMode == 1) {
        const QString name = fncAskOutputName(
            lngGenerateMode == 0 ? QStringLiteral("Save as single-image screensaver")
                                 : QStringLiteral("Save as screensaver"),
            QStringLiteral("Screensaver file (*.scr)|*.scr"), QStringLiteral(".scr"));
        if (!name.isEmpty()) {
            const QString templatePath = fncExtractTemplate(QStringLiteral("SCREENSAVER"));
            if (!templatePath.isEmpty() && lngGenerateMode == 0)
                subMakeSingleScreensaver(sources_, templatePath, name, sources_.previewedFile,
                                         picbasket::Setup.Screensaver.Quality,
                                         picbasket::Setup.Screensaver.ProcessTasks, true);
            else if (!templatePath.isEmpty())
                subGenerateScreenSaver(sources_, templatePath, name, true);
        }
    }
    accept();
}

} // namespace picbasket
