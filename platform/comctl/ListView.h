#pragma once
#include <QString>
#include <QWidget>

class QKeyEvent;
class QListView;
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

    // Rows. AddItem returns the new row's number.
    int AddItem(const QString& text, const QString& iconKey = {}, const QString& smallIconKey = {});
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
    // rows that compare equal keep their order.
    void Sort(int column, bool ascending);

    QTreeView* reportView() const { return report_; }
    QListView* iconView() const { return icon_; }

    // Whether the list takes drops (raising OLEDragDrop) instead of its views.
    bool OLEDropMode() const { return oleDropMode_; }
    void setOLEDropMode(bool accept);

    // Called by the two views; they raise the events below.
    void viewFocusIn();
    void viewFocusOut(Qt::FocusReason reason);
    void viewKeyPress(const QKeyEvent& event);
    void viewKeyRelease(const QKeyEvent& event);
    void viewMouseRelease(const QMouseEvent& event);

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
    // Something was dropped on the list (only with OLEDropMode on).
    void OLEDragDrop();

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
    int columns_ = 0;
    QString tag_;
};

// Switches full-row selection of the list view; returns False when there is no list.
bool fncListViewFullRowSelect(ListView* list, bool enable, bool showErrors);

} // namespace picbasket
