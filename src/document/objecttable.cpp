#include "objecttable.h"
#include "fileio/errors.h"
#include "journal/journal.h"
#include "journal/journalstep.h"
#include "numbers.h"

#include <algorithm>
#include <climits>

const std::array<const char *, TObjectTable::ColumnCount> TObjectTable::Titles{
    "Nr.", "ID", "Object", "O.Name", "X-Axis", "Y-Axis", "Z-Axis", "Horz-Angel", "Vert-Angel",
    "Radius", "Weapon"};

TObjectTable::TObjectTable(QObject *parent) : QAbstractTableModel(parent)
{
    m_rows.resize(1); // an empty table has its title row and one empty row
    m_added.resize(1);
}

bool TObjectTable::recording() const
{
    return m_journal && m_journal->isRecording();
}

void TObjectTable::endTyping()
{
    if (m_journal)
        m_journal->endTypingSession();
}

void TObjectTable::setRowCount(int count)
{
    const int want = qMax(count, 1) - 1;
    const int have = int(m_rows.size());
    if (want != have && recording())
        m_journal->recordResize(have, want, want < have ? m_rows.mid(want) : QList<Row>(),
                                want < have ? m_added.mid(want) : QList<bool>());
    resizeQuietly(want, {}, {});
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
    if (recording())
        m_journal->recordCell(col, row, c, text);
    c = text;
    const QModelIndex i = index(row - 1, col);
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
}

void TObjectTable::setRowCells(int row, const Row &cells)
{
    if (row < 1 || row > int(m_rows.size()))
        return;
    Row &have = m_rows[row - 1];
    const bool record = recording();
    TJournalStep step(record ? m_journal : nullptr, QStringLiteral("Change row"));
    if (record)
        for (int col = 0; col < ColumnCount; ++col)
            if (have[col] != cells[col])
                m_journal->recordCell(col, row, have[col], cells[col]);
    have = cells;
    emit dataChanged(index(row - 1, 0), index(row - 1, ColumnCount - 1), {Qt::DisplayRole, Qt::EditRole});
}

void TObjectTable::setColumnCells(int col, int firstRow, const QList<QString> &texts)
{
    if (col < 0 || col >= ColumnCount || firstRow < 1)
        return;
    const int last = std::min(firstRow + int(texts.size()) - 1, int(m_rows.size()));
    const bool record = recording();
    TJournalStep step(record ? m_journal : nullptr, QStringLiteral("Change cells"));
    int changedFirst = -1;
    int changedLast = -1;
    for (int row = firstRow; row <= last; ++row) {
        QString &c = m_rows[row - 1][col];
        const QString &text = texts[row - firstRow];
        if (c == text)
            continue;
        if (record)
            m_journal->recordCell(col, row, c, text);
        c = text;
        if (changedFirst < 0)
            changedFirst = row;
        changedLast = row;
    }
    if (changedFirst > 0)
        emit dataChanged(index(changedFirst - 1, col), index(changedLast - 1, col), {Qt::DisplayRole, Qt::EditRole});
}

void TObjectTable::setCells(int col, const QList<int> &rows, const QList<QString> &texts)
{
    if (col < 0 || col >= ColumnCount)
        return;
    const bool record = recording();
    TJournalStep step(record ? m_journal : nullptr, QStringLiteral("Change cells"));
    int changedFirst = -1;
    int changedLast = -1;
    const qsizetype n = std::min(rows.size(), texts.size());
    for (qsizetype k = 0; k < n; ++k) {
        const int row = rows[k];
        if (row < 1 || row > int(m_rows.size()))
            continue;
        QString &c = m_rows[row - 1][col];
        if (c == texts[k])
            continue;
        if (record)
            m_journal->recordCell(col, row, c, texts[k]);
        c = texts[k];
        changedFirst = changedFirst < 0 ? row : std::min(changedFirst, row);
        changedLast = std::max(changedLast, row);
    }
    if (changedFirst > 0)
        emit dataChanged(index(changedFirst - 1, col), index(changedLast - 1, col), {Qt::DisplayRole, Qt::EditRole});
}

void TObjectTable::removeRow(int row)
{
    if (row < 1 || row > int(m_rows.size()))
        return;
    if (recording())
        m_journal->recordRemoveRow(row, m_rows[row - 1], m_added[row - 1]);
    removeRowQuietly(row);
}

bool TObjectTable::isAdded(int row) const
{
    return row >= 1 && row <= int(m_added.size()) && m_added[row - 1];
}

void TObjectTable::setAdded(int row, bool added)
{
    if (row < 1 || row > int(m_added.size()) || m_added[row - 1] == added)
        return;
    if (recording())
        m_journal->recordCell(AddedMark, row, m_added[row - 1] ? QStringLiteral("1") : QString(),
                              added ? QStringLiteral("1") : QString());
    m_added[row - 1] = added;
}

void TObjectTable::removeRowQuietly(int row)
{
    beginRemoveRows(QModelIndex(), row - 1, row - 1);
    m_rows.removeAt(row - 1);
    m_added.removeAt(row - 1);
    endRemoveRows();
}

void TObjectTable::insertRowQuietly(int row, const Row &cells, bool added)
{
    beginInsertRows(QModelIndex(), row - 1, row - 1);
    m_rows.insert(row - 1, cells);
    m_added.insert(row - 1, added);
    endInsertRows();
}

void TObjectTable::resizeQuietly(int objectRows, const QList<Row> &restored, const QList<bool> &added)
{
    const int have = int(m_rows.size());
    if (objectRows > have) {
        beginInsertRows(QModelIndex(), have, objectRows - 1);
        m_rows.resize(objectRows);
        m_added.resize(objectRows);
        for (int k = 0; k < int(restored.size()) && have + k < objectRows; ++k)
            m_rows[have + k] = restored[k];
        for (int k = 0; k < int(added.size()) && have + k < objectRows; ++k)
            m_added[have + k] = added[k];
        endInsertRows();
    } else if (objectRows < have) {
        beginRemoveRows(QModelIndex(), objectRows, have - 1);
        m_rows.resize(objectRows);
        m_added.resize(objectRows);
        endRemoveRows();
    }
}

void TObjectTable::replayCells(const std::vector<TCellChange> &cells, bool forward)
{
    if (cells.empty())
        return;
    int top = INT_MAX, bottom = 0, left = ColumnCount, right = -1;
    const auto put = [&](const TCellChange &c) {
        if (c.row < 1 || c.row > int(m_rows.size()) || c.col < 0 || c.col > AddedMark)
            return;
        if (c.col == AddedMark) {
            m_added[c.row - 1] = !(forward ? c.after : c.before).isEmpty();
            return;
        }
        m_rows[c.row - 1][c.col] = forward ? c.after : c.before;
        top = std::min(top, c.row);
        bottom = std::max(bottom, c.row);
        left = std::min(left, c.col);
        right = std::max(right, c.col);
    };
    if (forward)
        std::for_each(cells.begin(), cells.end(), put);
    else
        std::for_each(cells.rbegin(), cells.rend(), put);
    if (bottom > 0)
        emit dataChanged(index(top - 1, left), index(bottom - 1, right), {Qt::DisplayRole, Qt::EditRole});
}

void TObjectTable::clearRow(int row)
{
    setRowCells(row, Row{});
    setAdded(row, false);
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
    const int col = index.column();
    const int row = index.row() + 1;
    // A keystroke and what it causes (the name looked up, the range fill)
    // are one step, merged with the keystrokes before it into the same cell.
    TJournalStep step(recording() ? m_journal : nullptr, QStringLiteral("Typing"),
                      TStepMerge{m_journal ? m_journal->typingSession() : 0, col, row, false});
    setCell(col, row, text);
    emit cellEdited(col, row, text);
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
