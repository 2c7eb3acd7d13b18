#include "export/modSaveDialogExtensionAllFormats.h"

#include "controls/dialogs/DialogBackend.h"
#include "controls/dialogs/modCommonDialog.h"
#include "export/SaveDialogController.h"
#include "export/frmSaveDialogExtensionAllFormats.h"

#include <algorithm>

namespace picbasket {

QString fncShowFileDialogEx(const QString& name, const QString& filter, int32_t& filterIndex,
                            const QString& title, bool openMode,
                            frmSaveDialogExtensionAllFormats* panel, bool multiPage,
                            QWidget* owner, const QString& initialFolder) {
    SaveDialogController controller(filter, openMode, multiPage, panel);
    if (!name.isEmpty() && filterIndex == 0)
        filterIndex = controller.fncFilterIndexFromName(name);
    if (panel)
        panel->picAppendMode->setVisible(multiPage);

    FileDialogRequest request;
    request.kind = openMode ? FileDialogRequest::Kind::Open : FileDialogRequest::Kind::Save;
    request.owner = owner;
    request.title = title;
    request.nameFilters = fncFilterToNameFilters(filter);
    const int entries = int(request.nameFilters.size());
    request.selectedFilter = entries > 0 ? std::clamp(int(filterIndex), 1, entries) - 1 : 0;
    request.initialName = name;
    request.initialFolder = initialFolder;
    request.panel = panel;
    request.hook = &controller;

    const FileDialogAnswer answer = dialogBackend().showFileDialog(request);
    if (!answer.accepted || answer.path.isEmpty())
        return {};
    const QString path = SaveDialogController::fncApplyExtensionRule(answer.path, multiPage);
    // A name the dialog returned without the hook's confirmation is asked about here.
    if (path != controller.confirmedPath() && !controller.fncMayReplace(path))
        return {};
    return path;
}

} // namespace picbasket
