#pragma once
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <vector>

class QKeyEvent;
class QListView;
class QMimeData;
class QMouseEvent;
class QStackedLayout;
class QStandardItemModel;
class QTreeView;

namespace picbasket {

class ImageList;
class ListViewModel;

// A list of rows shown either as icons or as a report with columns, both views over
// one model, so the rows, their order and their selection are the same in either.
// Rows are numbered from 1, columns from 1, sub-items from 1 (sub-item n is shown in
// column n + 1). Each row has a text, a tag, sub-items and the keys of its large and
// small icon in the Icons and SmallIcons image lists. Sort reorders the rows
// themselves: after a sort, row 1 is the first row shown, and every caller that walks
// the rows (batch, list files, printing) sees the shown order.
class ListView : public QWidget {
    Q_OBJECT

public:
    enum ViewMode { lvwIcon = 0, lvwSmallIcon = 1, lvwList = 2, lvwReport = 3 };

    explicit ListView(QWidget* parent = nullptr);
    ~ListView() override;

    // Columns.
    int AddColumn(const QString& caption, int width = 100);
    int ColumnCount() const;
    QString ColumnText(int column) const;
    // 0 for a column that does not exist.
    int ColumnWidth(int column) const;
    void setColumnWidth(int column, int width);

    // Rows. AddItem appends a row (also while the list is Sorted) and returns its number.
    int AddItem(const QString& text, const QString& iconKey = {}, const QString& smallIconKey = {});
    // Inserts a row before row `before` (Count() + 1 appends); returns its number.
    int InsertItem(int before, const QString& text, const QString& iconKey = {},
                   const QString& smallIconKey = {});
    // A whole row at once. While the list is Sorted it goes to its sorted place (after
    // the rows that compare equal), else to the end; returns its number.
    struct Row {
        QString text;
        QString tag;
        QStringList subItems; // sub-item 1 first
        QString iconKey;
        QString smallIconKey;
    };
    int AddRow(const Row& row);
    int Count() const;
    void Remove(int row);
    void Clear();
    QString Text(int row) const;
    void setText(int row, const QString& text);
    QString Tag(int row) const;
    void setTag(int row, const QString& tag);
    // A row's key names it for the commands that look rows up; empty for none.
    QString Key(int row) const;
    void setKey(int row, const QString& key);
    QString SubItem(int row, int subItem) const;
    void setSubItem(int row, int subItem, const QString& text);
    QString IconKey(int row) const;
    QString SmallIconKey(int row) const;
    void setIconKeys(int row, const QString& iconKey, const QString& smallIconKey);

    // Selection. SelectedItem is the current row, 0 when there is none.
    bool Selected(int row) const;
    void setSelected(int row, bool selected);
    int SelectedItem() const;
    void setSelectedItem(int row);
    int SelectedCount() const;
    bool MultiSelect() const { return multiSelect_; }
    void setMultiSelect(bool on);

    // The list's own tag (what the rows describe, such as a file path).
    QString Tag() const { return tag_; }
    void setTag(const QString& tag) { tag_ = tag; }

    ViewMode View() const { return view_; }
    void setView(ViewMode mode);
    bool FullRowSelect() const;
    void setFullRowSelect(bool on);

    // The image lists are not owned; they must outlive the list view.
    void setIcons(ImageList* icons);
    void setSmallIcons(ImageList* icons);
    ImageList* Icons() const { return icons_; }
    ImageList* SmallIcons() const { return smallIcons_; }
    // Size of the icon cells in icon view.
    void setIconSize(const QSize& size);
    // Size of the row pictures in the other views (thumbnails in a report need it).
    void setSmallIconSize(const QSize& size);

    // Reorders the rows by the text of the column (1 = the row text), case-insensitively;
    // rows that compare equal keep their order. The sort state below stays as it is.
    void Sort(int column, bool ascending);
    // The sort state: SortKey is a column (1 = the row text; 0, the start, none),
    // SortOrder 0 ascending, 1 descending. Switching Sorted on sorts the rows; while it
    // is on, AddRow puts rows in their place. Moving rows switches it off.
    int SortKey() const { return sortKey_; }
    void setSortKey(int column);
    int SortOrder() const { return sortOrder_; }
    void setSortOrder(int order);
    bool Sorted() const { return sorted_; }
    void setSorted(bool on);

    // Moves the rows (numbers in any order) before row `before` (Count() + 1: to the
    // end), keeping their order, their keys, tags, sub-items and selection; the first
    // moved row becomes the current one. Ends the sorted state.
    void MoveRows(std::vector<int> rows, int before);
    // The numbers of the selected rows, ascending.
    std::vector<int> SelectedRows() const;

    // "Rename title": opens the editor on a row's text (0: the current row) in the
    // shown view. A committed text that is empty or blanks only is refused and the row
    // keeps its text; another text becomes the row's and raises AfterLabelEdit.
    void StartLabelEdit(int row = 0);
    // Where the views' editors commit.
    void labelEdited(int row, const QString& text);

    // The row under a point in the list's pixels, 0 when there is none.
    int HitTest(int x, int y) const;
    // The row drawn as the target of a drag (0 none); a move or sort of the rows clears it.
    int DropHighlight() const;
    void setDropHighlight(int row);
    QTreeView* reportView() const { return report_; }
    QListView* iconView() const { return icon_; }

    // Whether the list takes drops (raising OLEDragOver and OLEDragDrop) instead of its views.
    bool OLEDropMode() const { return oleDropMode_; }
    void setOLEDropMode(bool accept);
    // Whether dragging selected rows starts a drag of them. The drag carries only the
    // name of the list it came from (its objectName), under RowsMimeType.
    bool OLEDragMode() const { return oleDragMode_; }
    void setOLEDragMode(bool automatic);
    static const QString RowsMimeType;
    // The name of the list whose rows a drag carries; empty for any other drag.
    static QString dragSourceOf(const QMimeData* data);
    // Runs the work once the drag that is running ends (QDrag::exec has returned), or
    // on the next turn of the event loop when no drag of ours runs. Dropping the
    // context object drops the work.
    static void runAfterDrag(QObject* context, std::function<void()> work);

    // Called by the two views; they raise the events below.
    void viewFocusIn();
    void viewFocusOut(Qt::FocusReason reason);
    void viewKeyPress(const QKeyEvent& event);
    void viewKeyRelease(const QKeyEvent& event);
    void viewMouseRelease(const QMouseEvent& event);
    void viewStartDrag();
    void viewDragOver(const QMimeData* data, const QPoint& viewportPoint, QWidget* viewport);
    void viewDragLeave();
    void viewDrop(const QMimeData* data, const QPoint& viewportPoint, QWidget* viewport);

signals:
    // Raised by a click on a row, when the mouse button is released.
    void ItemClick(int row);
    void ColumnClick(int column);
    void DblClick();
    void GotFocus();
    // Not raised when a pop-up menu takes the focus.
    void LostFocus();
    // The character code typed: 13 Enter, 1 to 26 Ctrl with a letter, else Latin-1.
    void KeyPress(int keyAscii);
    // A key let go (auto-repeat is ignored): arrows 37 to 40; shift is 1 Shift,
    // 2 Ctrl, 4 Alt added together.
    void KeyUp(int keyCode, int shift);
    // After ItemClick. Button 1 left, 2 right, 4 middle; x and y in the list's pixels.
    void MouseUp(int button, int shift, int x, int y);
    // A drag moves over the list, and something was dropped on it (only with
    // OLEDropMode on). source is the name of the list whose rows are dragged (see
    // dragSourceOf); x and y are in the list's pixels.
    void OLEDragOver(const QString& source, int x, int y);
    void OLEDragDrop(const QString& source, int x, int y);
    // A label edit gave the row a new text.
    void AfterLabelEdit(int row, const QString& text);

private:
    bool validRow(int row) const;
    QWidget* shownView() const;

    ListViewModel* model_;
    QTreeView* report_;
    QListView* icon_;
    QStackedLayout* stack_;
    ImageList* icons_ = nullptr;
    ImageList* smallIcons_ = nullptr;
    ViewMode view_ = lvwReport;
    bool multiSelect_ = true;
    bool fullRowSelect_ = false;
    bool oleDropMode_ = false;
    bool oleDragMode_ = false;
    int columns_ = 0;
    QString tag_;
    int sortKey_ = 0;
    int sortOrder_ = 0;
    bool sorted_ = false;
    int sortedPlace(const Row& row) const;
};

// Switches full-row selection of the list view; returns False when there is no list.
bool fncListViewFullRowSelect(ListView* list, bool enable, bool showErrors);

} // namespace picbasket
