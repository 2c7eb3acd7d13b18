#include "platform/foldertree/FolderTreeview.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>

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
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                const QString folder = current.isValid() ? model_->filePath(current) : QString();
                if (folder.isEmpty() || folder == lastEmitted_)
                    return;
                lastEmitted_ = folder;
                emit FolderChange(folder);
            });
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
    scrollTo(index);
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
