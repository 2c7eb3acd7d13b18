#include "controls/dialogs/QtDialogBackend.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

// Acts on the modal dialog once its event loop runs, so the real dialogs are
// driven without a person and without blocking.
void whenModal(std::function<void(QWidget*)> act, int attempts = 200) {
    QTimer::singleShot(10, [act = std::move(act), attempts]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            act(modal);
        } else if (attempts > 0) {
            whenModal(std::move(act), attempts - 1);
        }
    });
}

void touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

} // namespace

TEST(QtDialogBackend, OpenSelectsCarriedFilterAndReturnsChoice) {
    QTemporaryDir dir;
    touch(dir.filePath("notes.txt"));
    touch(dir.filePath("photo.jpg"));
    FileDialogRequest request;
    request.title = QStringLiteral("Open a picture");
    request.nameFilters = QStringList{"Text (*.txt)", "Images (*.jpg *.png)"};
    request.selectedFilter = 1;
    request.initialFolder = dir.path();

    QString shownFilter;
    bool native = true;
    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        shownFilter = dialog->selectedNameFilter();
        native = !dialog->testOption(QFileDialog::DontUseNativeDialog);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Open a picture"));
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
        dialog->selectFile(dir.filePath("photo.jpg"));
        static_cast<QDialog*>(dialog)->accept();
    });
    QtDialogBackend backend;
    const FileDialogAnswer answer = backend.showFileDialog(request);
    // Qt names the selected filter by its shown text or by the whole entry.
    EXPECT_TRUE(shownFilter == QStringLiteral("Images") ||
                shownFilter == QStringLiteral("Images (*.jpg *.png)"))
        << shownFilter.toStdString();
    EXPECT_FALSE(native);
    EXPECT_TRUE(answer.accepted);
    EXPECT_EQ(QDir::cleanPath(answer.path), QDir::cleanPath(dir.filePath("photo.jpg")));
    EXPECT_EQ(answer.selectedFilter, 1);
}

TEST(QtDialogBackend, SaveNeverAsksToOverwriteAndCancelIsEmpty) {
    QTemporaryDir dir;
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Save;
    request.initialFolder = dir.path();
    bool asksOverwrite = true;
    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        asksOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        dialog->reject();
    });
    const FileDialogAnswer answer = QtDialogBackend().showFileDialog(request);
    EXPECT_FALSE(asksOverwrite);
    EXPECT_FALSE(answer.accepted);
    EXPECT_TRUE(answer.path.isEmpty());
}

TEST(QtDialogBackend, ColourDialogUsesTheRunsColours) {
    QWidget owner;
    owner.setGeometry(100, 100, 800, 600);
    owner.show();
    ColorDialogRequest request;
    request.owner = &owner;
    request.initial = rgbOle(10, 20, 30);
    request.customColors.fill(rgbOle(254, 254, 254));
    request.customColors[5] = rgbOle(1, 2, 3);

    QColor shownColor;
    QColor shownCustom;
    QPoint shownCentre;
    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QColorDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        shownColor = dialog->currentColor();
        shownCustom = QColorDialog::customColor(5);
        shownCentre = dialog->frameGeometry().center();
        QColorDialog::setCustomColor(0, QColor(9, 8, 7));
        dialog->setCurrentColor(QColor(200, 100, 50));
        static_cast<QDialog*>(dialog)->accept();
    });
    const ColorDialogAnswer answer = QtDialogBackend().showColorDialog(request);
    EXPECT_EQ(shownColor, QColor(10, 20, 30));
    EXPECT_EQ(shownCustom, QColor(1, 2, 3));
    EXPECT_LE((shownCentre - owner.frameGeometry().center()).manhattanLength(), 2);
    EXPECT_TRUE(answer.accepted);
    EXPECT_EQ(answer.color, rgbOle(200, 100, 50));
    EXPECT_EQ(answer.customColors[0], rgbOle(9, 8, 7)) << "a colour the user defined comes back";
    EXPECT_EQ(answer.customColors[5], rgbOle(1, 2, 3));
}

TEST(QtDialogBackend, FolderDialogStartsAtTheFolderAndReturnsIt) {
    QTemporaryDir dir;
    FolderDialogRequest request;
    request.title = QStringLiteral("Pick");
    request.startFolder = dir.path();
    QString shownFolder;
    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
        shownFolder = dialog->directory().absolutePath();
        static_cast<QDialog*>(dialog)->accept();
    });
    const QString chosen = QtDialogBackend().showFolderDialog(request);
    EXPECT_EQ(shownFolder, QDir(dir.path()).absolutePath());
    EXPECT_EQ(QDir::cleanPath(chosen), QDir::cleanPath(dir.path()));

    whenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    EXPECT_EQ(QtDialogBackend().showFolderDialog(request), QString());
}

namespace {

// A hook that records what the dialog told it and refuses the first confirmation.
class RecordingHook : public FileDialogHook {
public:
    void typeChanged(FileDialogControls& dialog, int filter) override {
        types.push_back(filter);
        nameAtTypeChange = dialog.fileNameText();
        dialog.setFileNameText("renamed");
        dialog.setDefaultSuffix("png");
    }
    void folderChanged(FileDialogControls&) override { ++folders; }
    void selectionChanged(FileDialogControls&, const QString& path) override {
        selected << path;
    }
    bool confirm(FileDialogControls&, const QString& path) override {
        confirmed << path;
        return confirmed.size() > 1;
    }

    std::vector<int> types;
    QString nameAtTypeChange;
    int folders = 0;
    QStringList selected;
    QStringList confirmed;
};

} // namespace

TEST(QtDialogBackend, CarriesAPanelAndTellsTheHook) {
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("inner"));
    QWidget holder;
    auto* panel = new QWidget(&holder);
    panel->setObjectName("optionsPanel");
    panel->setMinimumSize(300, 60);
    RecordingHook hook;
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Save;
    request.nameFilters = QStringList{"Bitmaps (*.bmp)", "Portable (*.png)"};
    request.initialFolder = dir.path();
    request.initialName = "first.bmp";
    request.panel = panel;
    request.hook = &hook;

    bool panelInLastRow = false;
    bool panelShown = false;
    QString nameAfterHook;
    bool stillOpenAfterRefusal = false;
    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        auto* grid = qobject_cast<QGridLayout*>(dialog->layout());
        ASSERT_NE(grid, nullptr);
        int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
        const int at = grid->indexOf(panel);
        if (at >= 0) {
            grid->getItemPosition(at, &row, &column, &rowSpan, &columnSpan);
        }
        panelInLastRow = at >= 0 && row == grid->rowCount() - 1 && columnSpan == grid->columnCount();
        panelShown = panel->isVisible();
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        dialog->selectNameFilter(request.nameFilters[1]);
        emit dialog->filterSelected(request.nameFilters[1]);
        nameAfterHook = name->text();
        dialog->setDirectory(dir.filePath("inner"));
        emit dialog->directoryEntered(dir.filePath("inner"));
        emit dialog->currentChanged(dir.filePath("inner/x.png"));
        name->setText("picked");
        static_cast<QDialog*>(dialog)->accept(); // the hook refuses the first time
        stillOpenAfterRefusal = dialog->isVisible();
        static_cast<QDialog*>(dialog)->accept();
    });
    const FileDialogAnswer answer = QtDialogBackend().showFileDialog(request);

    EXPECT_TRUE(panelInLastRow);
    EXPECT_TRUE(panelShown);
    ASSERT_FALSE(hook.types.empty());
    EXPECT_EQ(hook.types.back(), 1);
    EXPECT_EQ(nameAfterHook, "renamed");
    EXPECT_GE(hook.folders, 1);
    EXPECT_TRUE(hook.selected.contains(dir.filePath("inner/x.png")));
    EXPECT_TRUE(stillOpenAfterRefusal);
    ASSERT_EQ(hook.confirmed.size(), 2);
    // The default suffix the hook set is on the confirmed and the returned name.
    EXPECT_EQ(QFileInfo(hook.confirmed[1]).fileName(), "picked.png");
    EXPECT_TRUE(answer.accepted);
    EXPECT_EQ(QFileInfo(answer.path).fileName(), "picked.png");
    EXPECT_EQ(answer.selectedFilter, 1);
    // The panel survives the dialog, hidden, with its parent back.
    EXPECT_EQ(panel->parentWidget(), &holder);
    EXPECT_FALSE(panel->isVisibleTo(&holder));
}
