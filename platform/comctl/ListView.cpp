#include "platform/comctl/ListView.h"

#include "core/MessageBox.h"
#include "platform/comctl/ImageList.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QPixmap>
#include <QStackedLayout>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <algorithm>
#include <numeric>

namespace picbasket {

namespace {
constexpr int TagRole = Qt::UserRole + 1;
constexpr int IconKeyRole = Qt::UserRole + 2;
constexpr int SmallIconKeyRole = Qt::UserRole + 3;
constexpr int KeyRole = Qt::UserRole + 4;
} // namespace

// The one model of both views. The picture of a row comes from the image list of the
// view that is shown: large icons in icon view, small icons otherwise.
class ListViewModel : public QStandardItemModel {
public:
    explicit ListViewModel(QObject* parent) : QStandardItemModel(parent) {}

    ImageList* large = nullptr;
    ImageList* small = nullptr;
    bool iconMode = false;

    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::DecorationRole && index.column() == 0) {
            ImageList* list = iconMode ? large : small;
            const int keyRole = iconMode ? IconKeyRole : SmallIconKeyRole;
            if (list) {
                const QImage picture =
                    list->Image(QStandardItemModel::data(index, keyRole).toString());
                if (!picture.isNull())
                    return QPixmap::fromImage(picture);
            }
            return {};
        }
        return QStandardItemModel::data(index, role);
    }
};

// Paints the cells after the first as unselected unless full-row selection is on,
// so only the row's label shows the selection, as a list without full-row select does.
class FirstCellSelectionDelegate : public QStyledItemDelegate {
public:
    FirstCellSelectionDelegate(const bool& fullRow, QObject* parent)
        : QStyledItemDelegate(parent), fullRow_(fullRow) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem cell(option);
        if (!fullRow_ && index.column() > 0)
            cell.state &= ~QStyle::State_Selected;
        QStyledItemDelegate::paint(painter, cell, index);
    }

private:
    const bool& fullRow_;
};

// Either view of the list, passing its focus, key and mouse events on to the list
// after the view has handled them, so a release reaches MouseUp after the view's
// own click (which raises ItemClick) is done.
template <class View> class EventView : public View {
public:
    EventView(ListView* owner, QWidget* parent) : View(parent), owner_(owner) {}

protected:
    void focusInEvent(QFocusEvent* event) override {
        View::focusInEvent(event);
        owner_->viewFocusIn();
    }
    void focusOutEvent(QFocusEvent* event) override {
        View::focusOutEvent(event);
        owner_->viewFocusOut(event->reason());
    }
    void keyPressEvent(QKeyEvent* event) override {
        owner_->viewKeyPress(*event);
        View::keyPressEvent(event);
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        View::keyReleaseEvent(event);
        owner_->viewKeyRelease(*event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        View::mouseReleaseEvent(event);
        owner_->viewMouseRelease(*event);
    }
    // With drops accepted, anything dropped is the list's own event; the rows are
    // never moved by the view.
    void dragEnterEvent(QDragEnterEvent* event) override {
        owner_->OLEDropMode() ? event->acceptProposedAction() : View::dragEnterEvent(event);
    }
    void dragMoveEvent(QDragMoveEvent* event) override {
        owner_->OLEDropMode() ? event->acceptProposedAction() : View::dragMoveEvent(event);
    }
    void dropEvent(QDropEvent* event) override {
        if (!owner_->OLEDropMode())
            return View::dropEvent(event);
        event->acceptProposedAction();
        emit owner_->OLEDragDrop();
    }

private:
    ListView* owner_;
};

namespace {

int shiftState(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

// The character code a key press types: 13 for Enter, 1 to 26 for Ctrl with a
// letter, else the Latin-1 code of the text; 0 when it types nothing.
int keyAscii(const QKeyEvent& event) {
    const int key = event.key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return 13;
    if (event.modifiers() & Qt::ControlModifier && key >= Qt::Key_A && key <= Qt::Key_Z)
        return key - Qt::Key_A + 1;
    const QString text = event.text();
    return !text.isEmpty() && text.at(0).unicode() < 256 ? text.at(0).unicode() : 0;
}

// Virtual-key numbers of the keys the windows test for (arrows 37 to 40, letters and
// digits as their upper-case codes); other keys keep Qt's number.
int keyCode(int key) {
    switch (key) {
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Delete:
        return 46;
    default:
        return key;
    }
}

int mouseButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

} // namespace

void ListView::viewFocusIn() {
    emit GotFocus();
}

// A pop-up menu taking the focus for a moment is no loss of focus for the list.
void ListView::viewFocusOut(Qt::FocusReason reason) {
    if (reason != Qt::PopupFocusReason)
        emit LostFocus();
}

void ListView::viewKeyPress(const QKeyEvent& event) {
    const int ascii = keyAscii(event);
    if (ascii)
        emit KeyPress(ascii);
}

void ListView::viewKeyRelease(const QKeyEvent& event) {
    if (!event.isAutoRepeat())
        emit KeyUp(keyCode(event.key()), shiftState(event.modifiers()));
}

void ListView::viewMouseRelease(const QMouseEvent& event) {
    const QPoint at = mapFromGlobal(event.globalPosition().toPoint());
    emit MouseUp(mouseButton(event.button()), shiftState(event.modifiers()), at.x(), at.y());
}

ListView::ListView(QWidget* parent)
    : QWidget(parent), model_(new ListViewModel(this)),
      report_(new EventView<QTreeView>(this, this)), icon_(new EventView<QListView>(this, this)),
      stack_(new QStackedLayout(this)) {
    stack_->setContentsMargins(0, 0, 0, 0);
    report_->setModel(model_);
    report_->setItemDelegate(new FirstCellSelectionDelegate(fullRowSelect_, report_));
    report_->setRootIsDecorated(false);
    report_->setItemsExpandable(false);
    report_->setUniformRowHeights(true);
    report_->setAllColumnsShowFocus(false);
    report_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    report_->header()->setStretchLastSection(false);
    report_->header()->setSectionsClickable(true);
    icon_->setModel(model_);
    icon_->setSelectionModel(report_->selectionModel());
    icon_->setViewMode(QListView::IconMode);
    icon_->setResizeMode(QListView::Adjust);
    icon_->setMovement(QListView::Static);
    icon_->setWrapping(true);
    icon_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    icon_->setWordWrap(true);
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(report_), static_cast<QAbstractItemView*>(icon_)}) {
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        connect(view, &QAbstractItemView::clicked, this,
                [this](const QModelIndex& index) { emit ItemClick(index.row() + 1); });
        connect(view, &QAbstractItemView::doubleClicked, this, [this] { emit DblClick(); });
        stack_->addWidget(view);
    }
    connect(report_->header(), &QHeaderView::sectionClicked, this,
            [this](int section) { emit ColumnClick(section + 1); });
    setView(lvwReport);
    setFullRowSelect(false);
}

ListView::~ListView() = default;

int ListView::AddColumn(const QString& caption, int width) {
    const int column = columns_++;
    if (model_->columnCount() < columns_)
        model_->setColumnCount(columns_);
    report_->setColumnHidden(column, false);
    model_->setHeaderData(column, Qt::Horizontal, caption);
    report_->setColumnWidth(column, width);
    return column + 1;
}

int ListView::ColumnCount() const {
    return columns_;
}

QString ListView::ColumnText(int column) const {
    return model_->headerData(column - 1, Qt::Horizontal).toString();
}

int ListView::ColumnWidth(int column) const {
    if (column < 1 || column > ColumnCount())
        return 0;
    return report_->columnWidth(column - 1);
}

void ListView::setColumnWidth(int column, int width) {
    if (column < 1 || column > ColumnCount())
        return;
    report_->setColumnWidth(column - 1, std::max(0, width));
}

int ListView::AddItem(const QString& text, const QString& iconKey, const QString& smallIconKey) {
    QList<QStandardItem*> cells;
    auto* first = new QStandardItem(text);
    first->setData(iconKey, IconKeyRole);
    first->setData(smallIconKey, SmallIconKeyRole);
    cells.push_back(first);
    for (int c = 1; c < std::max(1, ColumnCount()); ++c)
        cells.push_back(new QStandardItem());
    model_->appendRow(cells);
    return Count();
}

int ListView::Count() const {
    return model_->rowCount();
}

bool ListView::validRow(int row) const {
    return row >= 1 && row <= Count();
}

void ListView::Remove(int row) {
    if (validRow(row))
        model_->removeRow(row - 1);
}

void ListView::Clear() {
    model_->removeRows(0, model_->rowCount());
}

QString ListView::Text(int row) const {
    return validRow(row) ? model_->item(row - 1, 0)->text() : QString();
}

void ListView::setText(int row, const QString& text) {
    if (validRow(row))
        model_->item(row - 1, 0)->setText(text);
}

QString ListView::Tag(int row) const {
    return validRow(row) ? model_->item(row - 1, 0)->data(TagRole).toString() : QString();
}

void ListView::setTag(int row, const QString& tag) {
    if (validRow(row))
        model_->item(row - 1, 0)->setData(tag, TagRole);
}

QString ListView::Key(int row) const {
    return validRow(row) ? model_->item(row - 1, 0)->data(KeyRole).toString() : QString();
}

void ListView::setKey(int row, const QString& key) {
    if (validRow(row))
        model_->item(row - 1, 0)->setData(key, KeyRole);
}

// Sub-items beyond the columns are kept too (hidden lists carry more values than
// they show), so the row grows to hold them.
QString ListView::SubItem(int row, int subItem) const {
    if (!validRow(row) || subItem < 1)
        return {};
    const QStandardItem* cell = model_->item(row - 1, subItem);
    return cell ? cell->text() : QString();
}

void ListView::setSubItem(int row, int subItem, const QString& text) {
    if (!validRow(row) || subItem < 1)
        return;
    if (subItem >= model_->columnCount()) {
        const int had = model_->columnCount();
        model_->setColumnCount(subItem + 1);
        for (int c = std::max(had, columns_); c <= subItem; ++c)
            report_->setColumnHidden(c, true);
    }
    model_->setItem(row - 1, subItem, new QStandardItem(text));
}

QString ListView::IconKey(int row) const {
    return validRow(row) ? model_->item(row - 1, 0)->data(IconKeyRole).toString() : QString();
}

QString ListView::SmallIconKey(int row) const {
    return validRow(row) ? model_->item(row - 1, 0)->data(SmallIconKeyRole).toString() : QString();
}

void ListView::setIconKeys(int row, const QString& iconKey, const QString& smallIconKey) {
    if (!validRow(row))
        return;
    model_->item(row - 1, 0)->setData(iconKey, IconKeyRole);
    model_->item(row - 1, 0)->setData(smallIconKey, SmallIconKeyRole);
}

bool ListView::Selected(int row) const {
    return validRow(row) && report_->selectionModel()->isRowSelected(row - 1, QModelIndex());
}

void ListView::setSelected(int row, bool selected) {
    if (!validRow(row))
        return;
    QItemSelectionModel* selection = report_->selectionModel();
    const auto flags = (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                       QItemSelectionModel::Rows;
    if (selected && !multiSelect_)
        selection->clearSelection();
    selection->select(model_->index(row - 1, 0), flags);
}

int ListView::SelectedItem() const {
    const QModelIndex current = report_->selectionModel()->currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void ListView::setSelectedItem(int row) {
    if (!validRow(row)) {
        report_->selectionModel()->clear();
        return;
    }
    report_->selectionModel()->setCurrentIndex(
        model_->index(row - 1, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int ListView::SelectedCount() const {
    return static_cast<int>(report_->selectionModel()->selectedRows().size());
}

void ListView::setMultiSelect(bool on) {
    multiSelect_ = on;
    const auto mode =
        on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection;
    report_->setSelectionMode(mode);
    icon_->setSelectionMode(mode);
}

QWidget* ListView::shownView() const {
    return view_ == lvwReport ? static_cast<QWidget*>(report_) : static_cast<QWidget*>(icon_);
}

void ListView::setView(ViewMode mode) {
    view_ = mode;
    model_->iconMode = mode == lvwIcon;
    icon_->setViewMode(mode == lvwIcon ? QListView::IconMode : QListView::ListMode);
    stack_->setCurrentWidget(shownView());
    // The pictures depend on the view; let both views fetch them again.
    if (Count() > 0)
        emit model_->dataChanged(model_->index(0, 0), model_->index(Count() - 1, 0),
                                 {Qt::DecorationRole});
}

bool ListView::FullRowSelect() const {
    return fullRowSelect_;
}

// Without full-row selection only the first cell of a row shows as selected.
void ListView::setFullRowSelect(bool on) {
    fullRowSelect_ = on;
    report_->setAllColumnsShowFocus(on);
    report_->viewport()->update();
}

void ListView::setIcons(ImageList* icons) {
    icons_ = icons;
    model_->large = icons;
}

void ListView::setSmallIcons(ImageList* icons) {
    smallIcons_ = icons;
    model_->small = icons;
}

void ListView::setOLEDropMode(bool accept) {
    oleDropMode_ = accept;
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(report_), static_cast<QAbstractItemView*>(icon_)}) {
        view->setAcceptDrops(accept);
        view->viewport()->setAcceptDrops(accept);
    }
}

void ListView::setSmallIconSize(const QSize& size) {
    report_->setIconSize(size);
}

void ListView::setIconSize(const QSize& size) {
    icon_->setIconSize(size);
    icon_->setGridSize(QSize(size.width() + 24, size.height() + 36));
}

void ListView::Sort(int column, bool ascending) {
    if (column < 1 || Count() < 2)
        return;
    const int col = column - 1;
    std::vector<int> order(static_cast<size_t>(Count()));
    std::iota(order.begin(), order.end(), 0);
    auto key = [&](int r) {
        const QStandardItem* cell = model_->item(r, col);
        return cell ? cell->text() : QString();
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int cmp = QString::compare(key(a), key(b), Qt::CaseInsensitive);
        return ascending ? cmp < 0 : cmp > 0;
    });
    const int current = SelectedItem();
    std::vector<bool> selected(order.size());
    for (size_t i = 0; i < order.size(); ++i)
        selected[i] = Selected(static_cast<int>(i) + 1);
    std::vector<QList<QStandardItem*>> rows;
    rows.reserve(order.size());
    for (int r = Count() - 1; r >= 0; --r)
        rows.insert(rows.begin(), model_->takeRow(r));
    int newCurrent = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        model_->appendRow(rows[static_cast<size_t>(order[i])]);
        if (order[i] + 1 == current)
            newCurrent = static_cast<int>(i) + 1;
    }
    if (newCurrent)
        setSelectedItem(newCurrent);
    else
        report_->selectionModel()->clearSelection();
    for (size_t i = 0; i < order.size(); ++i)
        if (selected[static_cast<size_t>(order[i])])
            setSelected(static_cast<int>(i) + 1, true);
}

bool fncListViewFullRowSelect(ListView* list, bool enable, bool showErrors) {
    if (!list) {
        if (showErrors)
            msgBox(QStringLiteral("Failed to set full row select"), mb::Exclamation);
        return false;
    }
    list->setFullRowSelect(enable);
    return true;
}

} // namespace picbasket
