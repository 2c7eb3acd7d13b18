#pragma once
#include <QString>
#include <QStringList>

namespace picbasket {

// The hidden file list of the main window: the names of the regular, visible files of
// one folder that match one of the patterns, matched and ordered without regard to
// case ("IMG.JPG" matches "*.jpg*").
class FileListBox {
public:
    QString Path;    // the folder listed
    QString Pattern; // patterns separated by ";"

    // Reads the folder again; an empty path or a missing folder gives no names.
    void Refresh();
    int ListCount() const { return static_cast<int>(names_.size()); }
    // The name at a 0-based index.
    QString List(int index) const { return names_.value(index); }
    const QStringList& names() const { return names_; }

private:
    QStringList names_;
};

} // namespace picbasket
