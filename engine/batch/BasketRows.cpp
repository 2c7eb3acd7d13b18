#include "engine/batch/BasketRows.h"

#include "core/AppError.h"

namespace picbasket {

namespace {
constexpr int kColumnCount = 5;
}

QString BasketRow::SubItem(int index) const {
    return index >= 1 && index <= 4 ? SubItems[size_t(index - 1)] : QString();
}

void BasketRow::setSubItem(int index, const QString& text) {
    if (index < 1 || index > 4)
        raiseError(err::InvalidProcedureCall,
                   QStringLiteral("A basket row has no sub-item %1").arg(index));
    SubItems[size_t(index - 1)] = text;
}

BasketRows::BasketRows(QObject* parent) : QAbstractTableModel(parent) {}

void BasketRows::checkIndex(int index) const {
    if (index < 0 || index >= count())
        raiseError(err::SubscriptOutOfRange, QStringLiteral("The basket has no row %1").arg(index));
}

const BasketRow& BasketRows::row(int index) const {
    checkIndex(index);
    return rows_[size_t(index)];
}

void BasketRows::setRow(int index, const BasketRow& row) {
    checkIndex(index);
    rows_[size_t(index)] = row;
    emit dataChanged(createIndex(index, 0), createIndex(index, kColumnCount - 1));
}

void BasketRows::addRow(const BasketRow& row) {
    beginInsertRows({}, count(), count());
    rows_.push_back(row);
    endInsertRows();
}

void BasketRows::removeAt(int index) {
    checkIndex(index);
    beginRemoveRows({}, index, index);
    rows_.erase(rows_.begin() + index);
    endRemoveRows();
}

void BasketRows::clearRows() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

bool BasketRows::hasSource(const QString& sourcePath) const {
    for (const BasketRow& row : rows_)
        if (row.SubItem(4) == sourcePath)
            return true;
    return false;
}

int BasketRows::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

int BasketRows::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant BasketRows::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count())
        return {};
    const BasketRow& row = rows_[size_t(index.row())];
    if (role == TagRole)
        return row.Tag;
    if (role != Qt::DisplayRole)
        return {};
    return index.column() == 0 ? row.Text : row.SubItem(index.column());
}

QVariant BasketRows::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const names[kColumnCount] = {"File Name", "Resolution", "Size", "Type",
                                                    "Path"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kColumnCount)
        return {};
    return QString::fromLatin1(names[section]);
}

} // namespace picbasket
