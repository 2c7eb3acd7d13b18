#include "controls/dialogs/QtDialogBackend.h"

#include "core/Convert.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QWidget>

namespace picbasket {

namespace {

void prepareFileDialog(QFileDialog& dialog, const FileDialogRequest& request) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // Only the descriptions show, as the filter list's own texts say them.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (request.kind == FileDialogRequest::Kind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (!request.nameFilters.isEmpty()) {
        dialog.setNameFilters(request.nameFilters);
        dialog.selectNameFilter(request.nameFilters.value(request.selectedFilter));
    }
    if (!request.initialName.isEmpty()) {
        dialog.selectFile(request.initialName);
    }
}

// The owner's screen, or the primary screen when there is no owner.
QRect screenArea(const QWidget* owner) {
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

// Qt's texts of the filters shown: each entry without its last "(patterns)" part.
QString shownFilterText(const QString& entry) {
    const qsizetype open = entry.lastIndexOf(QLatin1Char('('));
    if (open <= 0 || !entry.endsWith(QLatin1Char(')'))) {
        return entry;
    }
    return entry.left(open).trimmed();
}

// 0-based entry the dialog has selected; with the details hidden Qt may answer
// with the shown text rather than the whole entry.
int selectedFilterIndex(const QFileDialog& dialog, const QStringList& nameFilters) {
    const QString selected = dialog.selectedNameFilter();
    for (qsizetype i = 0; i < nameFilters.size(); ++i) {
        if (nameFilters[i] == selected || shownFilterText(nameFilters[i]) == selected) {
            return int(i);
        }
    }
    return 0;
}

// Centres a dialog once, when it is first shown and so has its final size: over
// the owner's window, or on the screen.
class CentreOnFirstShow : public QObject {
public:
    CentreOnFirstShow(QWidget* dialog, QWidget* owner, bool overOwner)
        : QObject(dialog), dialog_(dialog), owner_(owner), overOwner_(overOwner) {
        dialog->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == dialog_ && event->type() == QEvent::Show) {
            const QRect area =
                overOwner_ && owner_ ? owner_->window()->frameGeometry() : screenArea(owner_);
            dialog_->move(fncCentredPosition(area, dialog_->frameGeometry().size()));
            dialog_->removeEventFilter(this);
        }
        return false;
    }

private:
    QWidget* dialog_;
    QWidget* owner_;
    bool overOwner_;
};

// The file dialog as a hook sees it.
class QtFileDialogControls : public FileDialogControls {
public:
    QtFileDialogControls(QFileDialog& dialog, const QStringList& nameFilters)
        : dialog_(dialog), nameFilters_(nameFilters) {}

    QString fileNameText() const override {
        const QLineEdit* edit = nameEdit();
        return edit ? edit->text() : QString();
    }
    void setFileNameText(const QString& text) override {
        if (QLineEdit* edit = nameEdit()) {
            edit->setText(text);
        } else {
            dialog_.selectFile(text);
        }
    }
    void setDefaultSuffix(const QString& suffix) override { dialog_.setDefaultSuffix(suffix); }
    int selectedFilter() const override { return selectedFilterIndex(dialog_, nameFilters_); }

private:
    QLineEdit* nameEdit() const {
        return dialog_.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    }

    QFileDialog& dialog_;
    QStringList nameFilters_;
};

// A file dialog whose hook may refuse the confirmed name (the dialog then stays).
class HookedFileDialog : public QFileDialog {
public:
    HookedFileDialog(const FileDialogRequest& request)
        : QFileDialog(request.owner, request.title, request.initialFolder),
          controls_(*this, request.nameFilters), hook_(request.hook) {}

    QtFileDialogControls& controls() { return controls_; }

    void accept() override {
        const QStringList files = selectedFiles();
        if (hook_ && files.size() == 1 && !QFileInfo(files.constFirst()).isDir() &&
            !hook_->confirm(controls_, files.constFirst())) {
            return;
        }
        QFileDialog::accept();
    }

private:
    QtFileDialogControls controls_;
    FileDialogHook* hook_;
};

// Puts the panel into a new last row of the dialog's grid, across every column.
void embedPanel(QFileDialog& dialog, QWidget* panel) {
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (grid) {
        grid->addWidget(panel, grid->rowCount(), 0, 1, grid->columnCount());
    } else if (dialog.layout()) {
        dialog.layout()->addWidget(panel);
    } else {
        panel->setParent(&dialog);
    }
    panel->show();
}

void connectHook(HookedFileDialog& dialog, FileDialogHook* hook, const QStringList& nameFilters) {
    QtFileDialogControls& controls = dialog.controls();
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&controls, hook, nameFilters](const QString& filter) {
                         int index = int(nameFilters.indexOf(filter));
                         for (qsizetype i = 0; index < 0 && i < nameFilters.size(); ++i) {
                             if (shownFilterText(nameFilters[i]) == filter) {
                                 index = int(i);
                             }
                         }
                         hook->typeChanged(controls, index < 0 ? 0 : index);
                     });
    QObject::connect(&dialog, &QFileDialog::directoryEntered, &dialog,
                     [&controls, hook](const QString&) { hook->folderChanged(controls); });
    QObject::connect(&dialog, &QFileDialog::currentChanged, &dialog,
                     [&controls, hook](const QString& path) {
                         hook->selectionChanged(controls, path);
                     });
}

} // namespace

QPoint fncCentredPosition(const QRect& area, const QSize& dialog) {
    const double left = area.left() + area.width() / 2.0 - dialog.width() / 2.0;
    const double top = area.top() + area.height() / 2.0 - dialog.height() / 2.0;
    return QPoint(int(roundHalfEven(left)), int(roundHalfEven(top)));
}

FileDialogAnswer QtDialogBackend::showFileDialog(const FileDialogRequest& request) {
    HookedFileDialog dialog(request);
    prepareFileDialog(dialog, request);
    // The panel goes back to its parent, hidden, before the dialog (its parent
    // meanwhile) is destroyed.
    QPointer<QWidget> panel = request.panel;
    QWidget* panelParent = panel ? panel->parentWidget() : nullptr;
    if (panel) {
        embedPanel(dialog, panel);
    }
    if (request.hook) {
        connectHook(dialog, request.hook, request.nameFilters);
    }
    const int result = dialog.exec();
    if (panel) {
        panel->hide();
        panel->setParent(panelParent);
    }
    if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    FileDialogAnswer answer;
    answer.accepted = true;
    answer.path = dialog.selectedFiles().constFirst();
    answer.selectedFilter = selectedFilterIndex(dialog, request.nameFilters);
    return answer;
}

// Qt keeps custom colours application-wide and would start from the user's saved
// ones, so the run's own sixteen are put in before every show and read back after.
ColorDialogAnswer QtDialogBackend::showColorDialog(const ColorDialogRequest& request) {
    for (int i = 0; i < int(request.customColors.size()); ++i) {
        QColorDialog::setCustomColor(i, oleToQColor(request.customColors[size_t(i)]));
    }
    QColorDialog dialog(oleToQColor(request.initial), request.owner);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    new CentreOnFirstShow(&dialog, request.owner, request.centreOverOwner);
    ColorDialogAnswer answer;
    answer.accepted = dialog.exec() == QDialog::Accepted;
    answer.color = answer.accepted ? qColorToOle(dialog.selectedColor()) : 0;
    for (int i = 0; i < int(answer.customColors.size()); ++i) {
        answer.customColors[size_t(i)] = qColorToOle(QColorDialog::customColor(i));
    }
    return answer;
}

QString QtDialogBackend::showFolderDialog(const FolderDialogRequest& request) {
    QFileDialog dialog(request.owner, request.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    const bool startExists =
        !request.startFolder.isEmpty() && QFileInfo(request.startFolder).isDir();
    dialog.setDirectory(startExists ? request.startFolder : QDir::homePath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace picbasket
