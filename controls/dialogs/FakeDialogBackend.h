#pragma once
#include "controls/dialogs/DialogBackend.h"

#include <deque>
#include <vector>

namespace picbasket {

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
    std::deque<FileDialogAnswer> fileAnswers_;
    std::deque<ColorStep> colorAnswers_;
    std::deque<QString> folderAnswers_;
    std::vector<FileDialogRequest> fileRequests_;
    std::vector<ColorDialogRequest> colorRequests_;
    std::vector<FolderDialogRequest> folderRequests_;
    DialogBackend* previous_;
};

} // namespace picbasket
