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

// What a panel's hook reads and changes in the open file dialog.
class FileDialogControls {
public:
    virtual ~FileDialogControls() = default;
    // The text of the file-name box.
    virtual QString fileNameText() const = 0;
    virtual void setFileNameText(const QString& text) = 0;
    // The suffix (without ".") a typed name without one gets; "" for none.
    virtual void setDefaultSuffix(const QString& suffix) = 0;
    // 0-based entry of nameFilters now selected.
    virtual int selectedFilter() const = 0;
};

// The events of a file dialog that carries a panel, each with the dialog's controls.
class FileDialogHook {
public:
    virtual ~FileDialogHook() = default;
    // The user chose another file type (0-based entry of nameFilters).
    virtual void typeChanged(FileDialogControls& dialog, int filter) = 0;
    // The dialog shows another folder.
    virtual void folderChanged(FileDialogControls& dialog) = 0;
    // The current item of the file list became `path` (a file or a folder).
    virtual void selectionChanged(FileDialogControls& dialog, const QString& path) = 0;
    // The user confirmed `path` (not a folder); false keeps the dialog open.
    virtual bool confirm(FileDialogControls& dialog, const QString& path) = 0;
};

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
    // The name the file-name box starts with ("" for none).
    QString initialName;
    int32_t flags = 0;
    // An options panel shown below the dialog's own controls while it is open
    // (not owned: it gets its parent back, hidden, when the dialog closes), and the
    // hook that hears the dialog's events. Either may be null.
    QWidget* panel = nullptr;
    FileDialogHook* hook = nullptr;
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
