#include "platform/comctl/ListView.h"

#include "core/MessageBox.h"
#include "platform/comctl/ImageList.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QMouseEvent>
#include <QPalette>
#include <QPersistentModelIndex>
#include <QPixmap>
#include <QPointer>
#include <QStackedLayout>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTimer>
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
    // The first cell of the drop-highlight row (taking rows out, as sorting and
    // moving do, clears it).
    QPersistentModelIndex dropHighlight;
    QPalette palette;

    bool isDropHighlight(const QModelIndex& index) const {
        return dropHighlight.isValid() && index.row() == dropHighlight.row();
    }

    void changedRow(int row) {
        if (row >= 0 && row < rowCount())
            emit dataChanged(index(row, 0), index(row, std::max(0, columnCount() - 1)),
                             {Qt::BackgroundRole, Qt::ForegroundRole});
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::BackgroundRole && isDropHighlight(index))
            return palette.brush(QPalette::Active, QPalette::Highlight);
        if (role == Qt::ForegroundRole && isDropHighlight(index))
            return palette.brush(QPalette::Active, QPalette::HighlightedText);
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
// Label edits end in the list, which refuses an empty text.
class FirstCellSelectionDelegate : public QStyledItemDelegate {
public:
    FirstCellSelectionDelegate(const bool& fullRow, ListView* owner, QObject* parent)
        : QStyledItemDelegate(parent), fullRow_(fullRow), owner_(owner) {}

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            owner_->labelEdited(index.row() + 1, line->text());
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem cell(option);
        if (!fullRow_ && index.column() > 0)
            cell.state &= ~QStyle::State_Selected;
        QStyledItemDelegate::paint(painter, cell, index);
    }

private:
    const bool& fullRow_;
    ListView* owner_;
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
        if (!owner_->OLEDropMode())
            return View::dragEnterEvent(event);
        event->acceptProposedAction();
        owner_->viewDragOver(event->mimeData(), event->position().toPoint(), this->viewport());
    }
    void dragMoveEvent(QDragMoveEvent* event) override {
        if (!owner_->OLEDropMode())
            return View::dragMoveEvent(event);
        event->acceptProposedAction();
        owner_->viewDragOver(event->mimeData(), event->position().toPoint(), this->viewport());
    }
    void dragLeaveEvent(QDragLeaveEvent* event) override {
        if (!owner_->OLEDropMode())
            return View::dragLeaveEvent(event);
        owner_->viewDragLeave();
    }
    void dropEvent(QDropEvent* event) override {
        if (!owner_->OLEDropMode())
            return View::dropEvent(event);
        event->acceptProposedAction();
        owner_->viewDrop(event->mimeData(), event->position().toPoint(), this->viewport());
    }
    // The drag carries the list's name only; what a drop does is the window's choice.
    void startDrag(Qt::DropActions) override { owner_->viewStartDrag(); }

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

// A pop-up menu taking the focus for a moment, or a label editor inside the list,
// is no loss of focus for the list.
void ListView::viewFocusOut(Qt::FocusReason reason) {
    const QWidget* next = QApplication::focusWidget();
    if (reason != Qt::PopupFocusReason && !(next && isAncestorOf(next)))
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

const QString ListView::RowsMimeType = QStringLiteral("application/x-picbasket-list-rows");

namespace {

// The drag of rows that runs (QDrag::exec has not returned), and the work that waits
// for its end.
bool dragRunning = false;
std::vector<std::pair<QPointer<QObject>, std::function<void()>>> afterDrag;

// Each piece runs from the event loop itself, not inside the drag source's mouse handler.
void runWaitingWork() {
    auto waiting = std::move(afterDrag);
    afterDrag.clear();
    for (auto& [context, work] : waiting)
        if (context)
            QTimer::singleShot(0, context.data(), std::move(work));
}

} // namespace

QString ListView::dragSourceOf(const QMimeData* data) {
    if (!data || !data->hasFormat(RowsMimeType))
        return {};
    return QString::fromUtf8(data->data(RowsMimeType));
}

void ListView::runAfterDrag(QObject* context, std::function<void()> work) {
    if (dragRunning) {
        afterDrag.emplace_back(context, std::move(work));
        return;
    }
    QTimer::singleShot(0, context, std::move(work));
}

void ListView::viewStartDrag() {
    if (!oleDragMode_ || SelectedCount() == 0 || dragRunning)
        return;
    auto* data = new QMimeData;
    data->setData(RowsMimeType, objectName().toUtf8());
    auto* drag = new QDrag(shownView());
    drag->setMimeData(data);
    const int current = SelectedItem() ? SelectedItem() : SelectedRows().front();
    const QVariant picture = model_->data(model_->index(current - 1, 0), Qt::DecorationRole);
    if (picture.canConvert<QPixmap>() && !picture.value<QPixmap>().isNull())
        drag->setPixmap(picture.value<QPixmap>());
    dragRunning = true;
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
    dragRunning = false;
    drag->deleteLater();
    runWaitingWork();
}

void ListView::viewDragOver(const QMimeData* data, const QPoint& viewportPoint, QWidget* viewport) {
    const QPoint at = viewport->mapTo(this, viewportPoint);
    emit OLEDragOver(dragSourceOf(data), at.x(), at.y());
}

void ListView::viewDragLeave() {
    setDropHighlight(0);
}

void ListView::viewDrop(const QMimeData* data, const QPoint& viewportPoint, QWidget* viewport) {
    const QPoint at = viewport->mapTo(this, viewportPoint);
    emit OLEDragDrop(dragSourceOf(data), at.x(), at.y());
}

ListView::ListView(QWidget* parent)
    : QWidget(parent), model_(new ListViewModel(this)),
      report_(new EventView<QTreeView>(this, this)), icon_(new EventView<QListView>(this, this)),
      stack_(new QStackedLayout(this)) {
    stack_->setContentsMargins(0, 0, 0, 0);
    report_->setModel(model_);
    report_->setItemDelegate(new FirstCellSelectionDelegate(fullRowSelect_, this, report_));
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
    icon_->setItemDelegate(new FirstCellSelectionDelegate(fullRowSelect_, this, icon_));
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

int ListView::InsertItem(int before, const QString& text, const QString& iconKey,
                         const QString& smallIconKey) {
    const int at = std::clamp(before, 1, Count() + 1) - 1;
    QList<QStandardItem*> cells;
    auto* first = new QStandardItem(text);
    first->setData(iconKey, IconKeyRole);
    first->setData(smallIconKey, SmallIconKeyRole);
    cells.push_back(first);
    for (int c = 1; c < std::max(1, ColumnCount()); ++c)
        cells.push_back(new QStandardItem());
    model_->insertRow(at, cells);
    return at + 1;
}

int ListView::AddRow(const Row& row) {
    const int added = InsertItem(sortedPlace(row), row.text, row.iconKey, row.smallIconKey);
    setTag(added, row.tag);
    for (int i = 0; i < row.subItems.size(); ++i)
        setSubItem(added, i + 1, row.subItems.at(i));
    return added;
}

namespace {

// The sort's comparison: case-insensitive texts, reversed for descending.
bool sortsBefore(const QString& a, const QString& b, bool ascending) {
    const int cmp = QString::compare(a, b, Qt::CaseInsensitive);
    return ascending ? cmp < 0 : cmp > 0;
}

} // namespace

// The row number a new row takes: after every row that does not sort after it.
int ListView::sortedPlace(const Row& row) const {
    if (!sorted_ || sortKey_ < 1)
        return Count() + 1;
    const QString key = sortKey_ == 1 ? row.text : row.subItems.value(sortKey_ - 2);
    int low = 1;
    int high = Count() + 1;
    while (low < high) {
        const int mid = (low + high) / 2;
        const QString there = sortKey_ == 1 ? Text(mid) : SubItem(mid, sortKey_ - 1);
        if (sortsBefore(key, there, sortOrder_ == 0))
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

void ListView::setSortKey(int column) {
    sortKey_ = std::max(0, column);
    if (sorted_)
        Sort(sortKey_, sortOrder_ == 0);
}

void ListView::setSortOrder(int order) {
    sortOrder_ = order == 1 ? 1 : 0;
    if (sorted_)
        Sort(sortKey_, sortOrder_ == 0);
}

void ListView::setSorted(bool on) {
    sorted_ = on;
    if (on)
        Sort(sortKey_, sortOrder_ == 0);
}

std::vector<int> ListView::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : report_->selectionModel()->selectedRows())
        rows.push_back(index.row() + 1);
    std::sort(rows.begin(), rows.end());
    return rows;
}

// The moved rows go, in their order, between the rows that stay: after those that
// stood before `before`, ahead of the rest.
void ListView::MoveRows(std::vector<int> rows, int before) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(std::remove_if(rows.begin(), rows.end(), [&](int r) { return !validRow(r); }),
               rows.end());
    sorted_ = false;
    if (rows.empty())
        return;
    std::vector<bool> moving(static_cast<size_t>(Count()) + 1, false);
    for (int r : rows)
        moving[static_cast<size_t>(r)] = true;
    std::vector<int> order;
    for (int r = 1; r < std::min(before, Count() + 1); ++r)
        if (!moving[static_cast<size_t>(r)])
            order.push_back(r);
    order.insert(order.end(), rows.begin(), rows.end());
    for (int r = std::max(before, 1); r <= Count(); ++r)
        if (!moving[static_cast<size_t>(r)])
            order.push_back(r);
    std::vector<bool> selected(moving.size(), false);
    for (int r = 1; r <= Count(); ++r)
        selected[static_cast<size_t>(r)] = Selected(r);
    std::vector<QList<QStandardItem*>> taken(moving.size());
    for (int r = Count(); r >= 1; --r)
        taken[static_cast<size_t>(r)] = model_->takeRow(r - 1);
    int firstMoved = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        model_->appendRow(taken[static_cast<size_t>(order[i])]);
        if (order[i] == rows.front())
            firstMoved = static_cast<int>(i) + 1;
    }
    setSelectedItem(firstMoved);
    for (size_t i = 0; i < order.size(); ++i)
        if (selected[static_cast<size_t>(order[i])])
            setSelected(static_cast<int>(i) + 1, true);
}

int ListView::HitTest(int x, int y) const {
    QAbstractItemView* view = view_ == lvwReport ? static_cast<QAbstractItemView*>(report_)
                                                 : static_cast<QAbstractItemView*>(icon_);
    const QPoint at = view->viewport()->mapFrom(this, QPoint(x, y));
    if (!view->viewport()->rect().contains(at))
        return 0;
    const QModelIndex index = view->indexAt(at);
    return index.isValid() ? index.row() + 1 : 0;
}

int ListView::DropHighlight() const {
    return model_->dropHighlight.isValid() ? model_->dropHighlight.row() + 1 : 0;
}

void ListView::setDropHighlight(int row) {
    const int was = DropHighlight();
    if (was == (validRow(row) ? row : 0))
        return;
    model_->palette = palette();
    model_->dropHighlight =
        validRow(row) ? QPersistentModelIndex(model_->index(row - 1, 0)) : QPersistentModelIndex();
    model_->changedRow(was - 1);
    model_->changedRow(row - 1);
}

void ListView::StartLabelEdit(int row) {
    if (row == 0)
        row = SelectedItem();
    if (!validRow(row))
        return;
    auto* view = static_cast<QAbstractItemView*>(shownView());
    const QModelIndex index = model_->index(row - 1, 0);
    view->setCurrentIndex(index);
    view->scrollTo(index);
    view->setFocus();
    view->edit(index);
}

void ListView::labelEdited(int row, const QString& text) {
    if (!validRow(row) || text.trimmed().isEmpty() || text == Text(row))
        return;
    setText(row, text);
    emit AfterLabelEdit(row, text);
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

void ListView::setOLEDragMode(bool automatic) {
    oleDragMode_ = automatic;
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(report_), static_cast<QAbstractItemView*>(icon_)})
        view->setDragEnabled(automatic);
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
