#include "objecttable.h"
#include "errors.h"
#include "numbers.h"

#include <algorithm>

const std::array<const char *, TObjectTable::ColumnCount> TObjectTable::Titles{
    "Nr.", "ID", "Object", "O.Name", "X-Axis", "Y-Axis", "Z-Axis", "Horz-Angel", "Vert-Angel",
    "Radius", "Weapon"};

TObjectTable::TObjectTable(QObject *parent) : QAbstractTableModel(parent)
{
    m_rows.resize(1); // an empty table has its title row and one empty row
}

void TObjectTable::setRowCount(int count)
{
    const int want = qMax(count, 1) - 1;
    const int have = int(m_rows.size());
    if (want > have) {
        beginInsertRows(QModelIndex(), have, want - 1);
        m_rows.resize(want);
        endInsertRows();
    } else if (want < have) {
        beginRemoveRows(QModelIndex(), want, have - 1);
        m_rows.resize(want);
        endRemoveRows();
    }
}

QString TObjectTable::cell(int col, int row) const
{
    if (col < 0 || col >= ColumnCount)
        return QString();
    if (row == 0)
        return QString::fromLatin1(Titles[col]);
    if (row < 1 || row > int(m_rows.size()))
        return QString();
    return m_rows[row - 1][col];
}

void TObjectTable::setCell(int col, int row, const QString &text)
{
    if (col < 0 || col >= ColumnCount || row < 1 || row > int(m_rows.size()))
        return;
    QString &c = m_rows[row - 1][col];
    if (c == text)
        return;
    c = text;
    const QModelIndex i = index(row - 1, col);
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
}

void TObjectTable::setRowCells(int row, const Row &cells)
{
    if (row < 1 || row > int(m_rows.size()))
        return;
    m_rows[row - 1] = cells;
    emit dataChanged(index(row - 1, 0), index(row - 1, ColumnCount - 1), {Qt::DisplayRole, Qt::EditRole});
}

void TObjectTable::setColumnCells(int col, int firstRow, const QList<QString> &texts)
{
    if (col < 0 || col >= ColumnCount || firstRow < 1)
        return;
    const int last = std::min(firstRow + int(texts.size()) - 1, int(m_rows.size()));
    int changedFirst = -1;
    int changedLast = -1;
    for (int row = firstRow; row <= last; ++row) {
        QString &c = m_rows[row - 1][col];
        const QString &text = texts[row - firstRow];
        if (c == text)
            continue;
        c = text;
        if (changedFirst < 0)
            changedFirst = row;
        changedLast = row;
    }
    if (changedFirst > 0)
        emit dataChanged(index(changedFirst - 1, col), index(changedLast - 1, col), {Qt::DisplayRole, Qt::EditRole});
}

void TObjectTable::removeRow(int row)
{
    if (row < 1 || row > int(m_rows.size()))
        return;
    beginRemoveRows(QModelIndex(), row - 1, row - 1);
    m_rows.removeAt(row - 1);
    endRemoveRows();
}

void TObjectTable::clearRow(int row)
{
    setRowCells(row, Row{});
}

std::int32_t TObjectTable::cellValue(int col, int row) const
{
    const QString text = cell(col, row);
    if (const auto value = parseInt32(text))
        return *value;
    throw TError::notAnInteger(text, cellName(col, row));
}

QString TObjectTable::cellName(int col, int row)
{
    return QStringLiteral("row %1, column \"%2\"")
        .arg(row)
        .arg(col >= 0 && col < ColumnCount ? QString::fromLatin1(Titles[col]) : QString::number(col));
}

int TObjectTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TObjectTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TObjectTable::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    return m_rows[index.row()][index.column()];
}

bool TObjectTable::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const QString text = value.toString();
    setCell(index.column(), index.row() + 1, text);
    emit cellEdited(index.column(), index.row() + 1, text);
    return true;
}

QVariant TObjectTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return QString::fromLatin1(Titles[section]);
    return QVariant();
}

Qt::ItemFlags TObjectTable::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}
