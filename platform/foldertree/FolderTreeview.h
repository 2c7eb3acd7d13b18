#pragma once
#include <QString>
#include <QTreeView>

class QFileSystemModel;

namespace picbasket {

// The tree of the file system's folders from "/" down (files are not shown). The
// selected folder is the one the user clicked or the one given to
// setSelectedFolder; each change raises FolderChange with the folder's path.
class FolderTreeview : public QTreeView {
    Q_OBJECT

public:
    explicit FolderTreeview(QWidget* parent = nullptr);

    // The selected folder, "" when none is selected.
    QString SelectedFolder() const;
    // Selects the folder, opening its parents and scrolling it into view. Returns
    // False, and keeps the selection, when the path is no existing folder.
    bool setSelectedFolder(const QString& path);

signals:
    void FolderChange(const QString& folder);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void revealPending();

    QFileSystemModel* model_;
    QString lastEmitted_;
    bool revealPending_ = false;
};

// The folder itself when it exists, else its nearest existing parent, else the
// user's home folder ("" and relative paths give the home folder too).
QString fncNearestExistingFolder(const QString& path);

} // namespace picbasket
