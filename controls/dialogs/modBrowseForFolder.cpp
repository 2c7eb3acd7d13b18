#include "controls/dialogs/modBrowseForFolder.h"

#include "controls/dialogs/DialogBackend.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"

namespace picbasket {

namespace {

// Status text and the new dialog style; the chooser adds validation of typed names.
inline constexpr int32_t DestinationFlags = 0x44;
inline constexpr int32_t ValidateTypedNames = 0x20;

} // namespace

QString fncBrowseDestinationFolder(QWidget* owner, const QString& startFolder) {
    const QString chosen = Folder_Browse(
        owner, QStringLiteral("Please select a destination folder to save all the files!"),
        DestinationFlags, startFolder);
    return chosen.trimmed().isEmpty() ? QString() : chosen;
}

QString Folder_Browse(QWidget* owner, const QString& title, int32_t flags,
                      const QString& startFolder) {
    QString chosen;
    errorTail(QStringLiteral("modBrowseForFolder.Folder_Browse"), [&] {
        CurrentActivity = QStringLiteral("Calling the Folder for Browse dialog");
        FolderDialogRequest request;
        request.owner = owner;
        request.title = title;
        request.startFolder = startFolder;
        request.flags = flags + ValidateTypedNames;
        const QString answer = dialogBackend().showFolderDialog(request);
        CurrentActivity = QStringLiteral("Returning selected folder from the Browse dialog");
        chosen = answer;
    });
    return chosen;
}

} // namespace picbasket
