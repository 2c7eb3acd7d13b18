#pragma once
#include "controls/dialogs/DialogBackend.h"

#include <deque>
#include <functional>
#include <vector>

namespace picbasket {

// The file dialog a test drives: a name box, a default suffix and the selected
// type, and the user's actions, which reach the request's hook as the real
// dialog's would.
class FakeFileDialog : public FileDialogControls {
public:
    explicit FakeFileDialog(const FileDialogRequest& request);

    QString fileNameText() const override { return name; }
    void setFileNameText(const QString& text) override { name = text; }
    void setDefaultSuffix(const QString& suffix) override { defaultSuffix = suffix; }
    int selectedFilter() const override { return filter; }

    void typeName(const QString& text) { name = text; }
    void chooseType(int index);
    void enterFolder();
    void selectItem(const QString& path);
    // The path the dialog would return for the typed name in `folder`: the default
    // suffix is added when the name has none.
    QString typedPath(const QString& folder) const;

    QString name;
    QString defaultSuffix;
    int filter = 0;
    FileDialogHook* hook = nullptr;
};

// A backend for tests: installs itself while it lives, records every request and
// answers from queues. An empty queue answers "cancelled", so nothing ever blocks.
class FakeDialogBackend : public DialogBackend {
public:
    FakeDialogBackend();
    ~FakeDialogBackend() override;
    FakeDialogBackend(const FakeDialogBackend&) = delete;
    FakeDialogBackend& operator=(const FakeDialogBackend&) = delete;

    // Queued answers, used in order.
    void chooseFile(const QString& path, int selectedFilter = 0);
    void cancelFile() { fileAnswers_.push_back({}); }
    // The typed name (see FakeFileDialog::typedPath) in `folder` is confirmed.
    void chooseTyped(const QString& folder);
    // Run, in order, on the next file dialog before it answers.
    void actInFileDialog(std::function<void(FakeFileDialog&)> action);
    // Confirmations the hook refused (the dialog then took the next queued answer).
    int refusedConfirmations() const { return refused_; }
    void chooseColor(OleColor color);
    void chooseColor(OleColor color, const CustomColors& customColors);
    void cancelColor();
    void chooseFolder(const QString& path) { folderAnswers_.push_back(path); }

    const std::vector<FileDialogRequest>& fileRequests() const { return fileRequests_; }
    const std::vector<ColorDialogRequest>& colorRequests() const { return colorRequests_; }
    const std::vector<FolderDialogRequest>& folderRequests() const { return folderRequests_; }

    FileDialogAnswer showFileDialog(const FileDialogRequest& request) override;
    ColorDialogAnswer showColorDialog(const ColorDialogRequest& request) override;
    QString showFolderDialog(const FolderDialogRequest& request) override;

private:
    struct ColorStep {
        bool accepted;
        OleColor color;
        bool setsCustom;
        CustomColors customColors;
    };
    struct FileStep {
        FileDialogAnswer answer;
        QString typedFolder; // set: the answer's path is the typed name in it
        bool typed = false;
    };
    std::deque<FileStep> fileAnswers_;
    std::deque<std::function<void(FakeFileDialog&)>> fileActions_;
    int refused_ = 0;
    std::deque<ColorStep> colorAnswers_;
    std::deque<QString> folderAnswers_;
    std::vector<FileDialogRequest> fileRequests_;
    std::vector<ColorDialogRequest> colorRequests_;
    std::vector<FolderDialogRequest> folderRequests_;
    DialogBackend* previous_;
};

} // namespace picbasket
