#include "platform/foldertree/FolderTreeview.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QTimer>

namespace picbasket {

FolderTreeview::FolderTreeview(QWidget* parent)
    : QTreeView(parent), model_(new QFileSystemModel(this)) {
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setReadOnly(true);
    model_->setRootPath(QStringLiteral("/"));
    setModel(model_);
    setRootIndex(model_->index(QStringLiteral("/")).parent());
    for (int column = 1; column < model_->columnCount(); ++column)
        hideColumn(column);
    header()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Folders load in the background; the selected folder is brought into view again
    // as its parents arrive, until the folder holding it has loaded.
    // Rows arrive in batches after a folder's listing is done and may be sorted after
    // that, so every change of the rows is followed.
    auto later = [this] { QTimer::singleShot(0, this, [this] { revealPending(); }); };
    connect(model_, &QFileSystemModel::directoryLoaded, this, later);
    connect(model_, &QAbstractItemModel::rowsInserted, this, later);
    connect(model_, &QAbstractItemModel::layoutChanged, this, later);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                const QString folder = current.isValid() ? model_->filePath(current) : QString();
                if (folder.isEmpty() || folder == lastEmitted_)
                    return;
                lastEmitted_ = folder;
                emit FolderChange(folder);
            });
}

// Until the user scrolls, clicks or types, the selected folder is kept in view while
// its parents load and while the view gets its size.
void FolderTreeview::revealPending() {
    if (revealPending_ && currentIndex().isValid())
        scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter);
}

void FolderTreeview::resizeEvent(QResizeEvent* event) {
    QTreeView::resizeEvent(event);
    QTimer::singleShot(0, this, [this] { revealPending(); });
}

bool FolderTreeview::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::Wheel)
        revealPending_ = false;
    return QTreeView::viewportEvent(event);
}

void FolderTreeview::keyPressEvent(QKeyEvent* event) {
    revealPending_ = false;
    QTreeView::keyPressEvent(event);
}

QString FolderTreeview::SelectedFolder() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? model_->filePath(current) : QString();
}

bool FolderTreeview::setSelectedFolder(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir())
        return false;
    const QModelIndex index = model_->index(info.absoluteFilePath());
    if (!index.isValid())
        return false;
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        expand(parent);
    setCurrentIndex(index);
    revealPending_ = true;
    scrollTo(index, QAbstractItemView::PositionAtCenter);
    return true;
}

QString fncNearestExistingFolder(const QString& path) {
    if (!path.isEmpty() && QDir::isAbsolutePath(path)) {
        QString folder = QDir::cleanPath(path);
        while (!folder.isEmpty()) {
            if (QFileInfo(folder).isDir())
                return folder;
            const QString parent = QFileInfo(folder).path();
            if (parent == folder)
                break;
            folder = parent;
        }
    }
    return QDir::homePath();
}

} // namespace picbasket
