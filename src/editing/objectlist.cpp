#include "objectlist.h"

#include "catalogue/itemcatalogue.h"
#include "document/mapdocument.h"
#include "document/numbers.h"

#include <algorithm>

QString newObjectItemText(const QString &pickedNumberLabel)
{
    if (pickedNumberLabel.isEmpty() || pickedNumberLabel == QLatin1String("Number"))
        return QString::fromLatin1(DefaultNewItem);
    return pickedNumberLabel;
}

std::int32_t newObjectId(const TMapDocument &doc)
{
    if (doc.ObjectCount < 1)
        return 1;
    const TObjectTable &table = doc.Table;
    std::int32_t highest = 0;
    for (int row = 1; row <= doc.ObjectCount; ++row) {
        const std::int32_t id = table.cellValue(TObjectTable::ColId, row);
        highest = row == 1 ? id : std::max(highest, id);
    }
    return checkedAdd(highest, 1);
}

TGamePoint newObjectPosition(const TViewState &view)
{
    return windowToGame(view, ViewCentre, ViewCentre);
}

int appendObjectRow(TMapDocument &doc, std::int32_t id, const QString &itemText, TGamePoint position,
                    const TItemCatalogue &catalogue)
{
    const int row = doc.ObjectCount + 1;
    doc.ObjectCount = row;
    doc.Table.setRowCount(row + 1);
    doc.ObjectX[row - 1] = position.X;
    doc.ObjectY[row - 1] = position.Y;

    TObjectTable::Row cells;
    cells[TObjectTable::ColNr] = QString::number(row);
    cells[TObjectTable::ColId] = QString::number(id);
    cells[TObjectTable::ColObject] = itemText;
    cells[TObjectTable::ColX] = QString::number(position.X);
    cells[TObjectTable::ColY] = QString::number(position.Y);
    for (int col : {TObjectTable::ColZ, TObjectTable::ColHorzAngle, TObjectTable::ColVertAngle,
                    TObjectTable::ColRadius, TObjectTable::ColWeapon})
        cells[col] = QStringLiteral("0");
    catalogue.LookupItemName(itemText, cells[TObjectTable::ColName]);
    doc.Table.setRowCells(row, cells);
    doc.Table.setAdded(row, true);
    return row;
}

int appendObjectCopies(TMapDocument &doc, int top, int bottom, std::int32_t firstId)
{
    QList<int> rows;
    for (int row = top; row <= bottom; ++row)
        rows.append(row);
    return appendObjectCopies(doc, rows, firstId);
}

int appendObjectCopies(TMapDocument &doc, const QList<int> &rows, std::int32_t firstId)
{
    const int first = doc.ObjectCount + 1;
    const int n = int(rows.size());
    doc.ObjectCount = first + n - 1;
    doc.Table.setRowCount(first + n);
    for (int i = 0; i < n; ++i) {
        const int from = rows[i];
        const int to = first + i;
        TObjectTable::Row cells = doc.Table.rowCells(from);
        cells[TObjectTable::ColNr] = QString::number(to);
        cells[TObjectTable::ColId] = QString::number(firstId + i);
        doc.Table.setRowCells(to, cells);
        doc.Table.setAdded(to, true);
        doc.ObjectX[to - 1] = doc.ObjectX[from - 1];
        doc.ObjectY[to - 1] = doc.ObjectY[from - 1];
    }
    return first;
}

bool deleteObjectRow(TMapDocument &doc, int row)
{
    const int count = doc.ObjectCount;
    if (count <= 1 || row < 1 || row > count)
        return false;
    TObjectTable &table = doc.Table;
    // The rows from `row` on are numbered on from the row above it.
    std::int32_t number = 1;
    if (row > 1)
        number = checkedAdd(table.cellValue(TObjectTable::ColNr, row - 1), 1);
    checkedAdd(number, count - 1 - row); // the last number must fit as well

    table.removeRow(row);
    doc.ObjectCount = count - 1;
    QList<QString> numbers;
    numbers.reserve(count - row);
    for (int r = row; r < count; ++r)
        numbers.append(QString::number(number + (r - row)));
    table.setColumnCells(TObjectTable::ColNr, row, numbers);
    std::copy(doc.ObjectX.begin() + row, doc.ObjectX.begin() + count, doc.ObjectX.begin() + row - 1);
    std::copy(doc.ObjectY.begin() + row, doc.ObjectY.begin() + count, doc.ObjectY.begin() + row - 1);
    doc.ObjectX[count - 1] = 0;
    doc.ObjectY[count - 1] = 0;
    return true;
}

QList<int> deleteObjectRows(TMapDocument &doc, const QList<int> &rows)
{
    const int count = doc.ObjectCount;
    QList<int> removed;
    for (int row : rows)
        if (row >= 1 && row <= count && (removed.isEmpty() || row > removed.last()))
            removed.append(row);
    // One object always stays.
    if (removed.size() >= count)
        removed.removeFirst();
    if (removed.isEmpty())
        return removed;
    TObjectTable &table = doc.Table;
    const int first = removed.first();
    std::int32_t number = 1;
    if (first > 1)
        number = checkedAdd(table.cellValue(TObjectTable::ColNr, first - 1), 1);
    const int left = count - int(removed.size());
    checkedAdd(number, left - first); // the last number must fit as well

    // The rows from the end, so each removal leaves the rows still to go where they were.
    for (auto r = removed.crbegin(); r != removed.crend(); ++r)
        table.removeRow(*r);
    int to = first - 1;
    for (int from = first - 1, k = 0; from < count; ++from) {
        if (k < removed.size() && removed[k] == from + 1) {
            ++k;
            continue;
        }
        doc.ObjectX[to] = doc.ObjectX[from];
        doc.ObjectY[to] = doc.ObjectY[from];
        ++to;
    }
    for (int i = left; i < count; ++i) {
        doc.ObjectX[i] = 0;
        doc.ObjectY[i] = 0;
    }
    doc.ObjectCount = left;
    QList<QString> numbers;
    numbers.reserve(left - first + 1);
    for (int r = first; r <= left; ++r)
        numbers.append(QString::number(number + (r - first)));
    table.setColumnCells(TObjectTable::ColNr, first, numbers);
    return removed;
}
