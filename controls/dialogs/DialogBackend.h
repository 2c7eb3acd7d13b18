#pragma once
#include "core/OleColor.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

class QWidget;

namespace picbasket {

// The machine's modal dialogs (open, save, colour, folder), behind one small
// interface: the real one shows Qt's dialogs, a test installs a fake that answers
// at once. The modules modCommonDialog, modCommonDialogAPI and modBrowseForFolder
// translate between their records and these requests.

struct FileDialogRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    QWidget* owner = nullptr;
    QString title;
    // Qt filter entries, "Description (*.a *.b)"; empty lists every file.
    QStringList nameFilters;
    // 0-based entry of nameFilters selected when the dialog opens.
    int selectedFilter = 0;
    QString initialFolder;
    int32_t flags = 0;
};

struct FileDialogAnswer {
    bool accepted = false;
    QString path;
    int selectedFilter = 0; // 0-based entry the user left selected
};

using CustomColors = std::array<OleColor, 16>;

struct ColorDialogRequest {
    QWidget* owner = nullptr;
    bool centreOverOwner = true;
    OleColor initial = 0;
    CustomColors customColors{};
};

struct ColorDialogAnswer {
    bool accepted = false;
    OleColor color = 0;
    // The custom colours as the user left them (also after a cancel).
    CustomColors customColors{};
};

struct FolderDialogRequest {
    QWidget* owner = nullptr;
    QString title;
    QString startFolder; // preselected when not empty
    int32_t flags = 0;
};

class DialogBackend {
public:
    virtual ~DialogBackend() = default;
    virtual FileDialogAnswer showFileDialog(const FileDialogRequest& request) = 0;
    virtual ColorDialogAnswer showColorDialog(const ColorDialogRequest& request) = 0;
    // The chosen folder, or "" when cancelled.
    virtual QString showFolderDialog(const FolderDialogRequest& request) = 0;
};

// The backend in use: the Qt one unless another was installed.
DialogBackend& dialogBackend();
// Installs a backend (not owned; nullptr puts the Qt one back) and returns the previous.
DialogBackend* setDialogBackend(DialogBackend* backend);

} // namespace picbasket
