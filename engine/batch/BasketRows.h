#pragma once
#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <vector>

namespace picbasket {

// One row of the image basket: the display name, the page file and the four
// detail columns.
struct BasketRow {
    QString Text; // display name; the base of a batch output name
    QString Tag;  // the page file: the original file, or a temporary TIFF for one
                  // page of a multipage file
    // Sub-items 1 to 4: resolution ("w X h"), size text, type text, source file path.
    std::array<QString, 4> SubItems;

    // Sub-item 1 to 4; any other index gives an empty text.
    QString SubItem(int index) const;
    void setSubItem(int index, const QString& text);
};

// A copy of the rows of the image basket (lvPages, columns "File Name",
// "Resolution", "Size", "Type" and "Path"), which the batch conversion reads without
// any window. The window's list is the one store; a batch takes this copy when it
// starts. Rows are indexed from 0, as in the task rows.
class BasketRows : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit BasketRows(QObject* parent = nullptr);

    int count() const { return int(rows_.size()); }
    // Row 0 to count() - 1; any other index raises error 9 (subscript out of range).
    const BasketRow& row(int index) const;
    void setRow(int index, const BasketRow& row);
    void addRow(const BasketRow& row);
    void removeAt(int index);
    void clearRows();
    // True when a row already comes from that source file (sub-item 4).
    bool hasSource(const QString& sourcePath) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The role under which data() gives a row's Tag.
    static constexpr int TagRole = Qt::UserRole + 1;

private:
    void checkIndex(int index) const;
    std::vector<BasketRow> rows_;
};

} // namespace picbasket
