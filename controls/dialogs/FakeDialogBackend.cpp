#include "controls/dialogs/FakeDialogBackend.h"

namespace picbasket {

FakeDialogBackend::FakeDialogBackend() : previous_(setDialogBackend(this)) {}

FakeDialogBackend::~FakeDialogBackend() {
    setDialogBackend(previous_);
}

void FakeDialogBackend::chooseFile(const QString& path, int selectedFilter) {
    fileAnswers_.push_back({true, path, selectedFilter});
}

void FakeDialogBackend::chooseColor(OleColor color) {
    colorAnswers_.push_back({true, color, false, {}});
}

void FakeDialogBackend::chooseColor(OleColor color, const CustomColors& customColors) {
    colorAnswers_.push_back({true, color, true, customColors});
}

void FakeDialogBackend::cancelColor() {
    colorAnswers_.push_back({false, 0, false, {}});
}

FileDialogAnswer FakeDialogBackend::showFileDialog(const FileDialogRequest& request) {
    fileRequests_.push_back(request);
    if (fileAnswers_.empty()) {
        return {};
    }
    FileDialogAnswer answer = fileAnswers_.front();
    fileAnswers_.pop_front();
    return answer;
}

// Unless a step sets them, the custom colours come back as they went in.
ColorDialogAnswer FakeDialogBackend::showColorDialog(const ColorDialogRequest& request) {
    colorRequests_.push_back(request);
    ColorDialogAnswer answer{false, 0, request.customColors};
    if (colorAnswers_.empty()) {
        return answer;
    }
    const ColorStep step = colorAnswers_.front();
    colorAnswers_.pop_front();
    answer.accepted = step.accepted;
    answer.color = step.color;
    if (step.setsCustom) {
        answer.customColors = step.customColors;
    }
    return answer;
}

QString FakeDialogBackend::showFolderDialog(const FolderDialogRequest& request) {
    folderRequests_.push_back(request);
    if (folderAnswers_.empty()) {
        return {};
    }
    QString answer = folderAnswers_.front();
    folderAnswers_.pop_front();
    return answer;
}

} // namespace picbasket
