#include "controls/dialogs/FakeDialogBackend.h"

#include <QDir>
#include <QFileInfo>

namespace picbasket {

FakeFileDialog::FakeFileDialog(const FileDialogRequest& request)
    : name(request.initialName), filter(request.selectedFilter), hook(request.hook) {}

void FakeFileDialog::chooseType(int index) {
    filter = index;
    if (hook)
        hook->typeChanged(*this, index);
}

void FakeFileDialog::enterFolder() {
    if (hook)
        hook->folderChanged(*this);
}

void FakeFileDialog::selectItem(const QString& path) {
    if (hook)
        hook->selectionChanged(*this, path);
}

QString FakeFileDialog::typedPath(const QString& folder) const {
    QString fileName = name;
    if (!defaultSuffix.isEmpty() && QFileInfo(fileName).suffix().isEmpty())
        fileName += QLatin1Char('.') + defaultSuffix;
    return QDir(folder).filePath(fileName);
}

FakeDialogBackend::FakeDialogBackend() : previous_(setDialogBackend(this)) {}

FakeDialogBackend::~FakeDialogBackend() {
    setDialogBackend(previous_);
}

void FakeDialogBackend::chooseFile(const QString& path, int selectedFilter) {
    fileAnswers_.push_back({{true, path, selectedFilter}, {}, false});
}

void FakeDialogBackend::chooseTyped(const QString& folder) {
    fileAnswers_.push_back({{true, {}, 0}, folder, true});
}

void FakeDialogBackend::actInFileDialog(std::function<void(FakeFileDialog&)> action) {
    fileActions_.push_back(std::move(action));
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

// Answers in turn until one is a cancel or a confirmation the hook accepts, like a
// user who picks again after saying "no".
FileDialogAnswer FakeDialogBackend::showFileDialog(const FileDialogRequest& request) {
    fileRequests_.push_back(request);
    FakeFileDialog dialog(request);
    while (!fileActions_.empty()) {
        auto action = std::move(fileActions_.front());
        fileActions_.pop_front();
        action(dialog);
    }
    while (!fileAnswers_.empty()) {
        FileStep step = fileAnswers_.front();
        fileAnswers_.pop_front();
        FileDialogAnswer answer = step.answer;
        if (!answer.accepted)
            return {};
        if (step.typed) {
            answer.path = dialog.typedPath(step.typedFolder);
            answer.selectedFilter = dialog.filter;
        }
        if (request.hook && !request.hook->confirm(dialog, answer.path)) {
            ++refused_;
            continue;
        }
        return answer;
    }
    return {};
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
