#pragma once
// TObjectTable: the object table, the one store of object values. Every cell is
// text. Rows are numbered as the table shows them: row 0 holds the column
// titles (the view's header), rows 1 .. RowCount() - 1 the objects. The Qt
// model's row k is table row k + 1.

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

class TJournal;
struct TCellChange;

class TObjectTable : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column : int {
        ColNr = 0,
        ColId = 1,
        ColObject = 2,
        ColName = 3,
        ColX = 4,
        ColY = 5,
        ColZ = 6,
        ColHorzAngle = 7,
        ColVertAngle = 8,
        ColRadius = 9,
        ColWeapon = 10,
    };
    static constexpr int ColumnCount = 11;
    static const std::array<const char *, ColumnCount> Titles;
    using Row = std::array<QString, ColumnCount>;

    explicit TObjectTable(QObject *parent = nullptr);

    // The journal every change of the setters below is recorded in (none:
    // nothing is recorded). Outside an open step each call is a step.
    void setJournal(TJournal *journal) { m_journal = journal; }
    TJournal *journal() const { return m_journal; }
    // The in-place editor closed or the current cell moved: the next
    // keystroke starts a new step.
    void endTyping();

    // Rows including the title row, as the table counts them (at least 1).
    int RowCount() const { return int(m_rows.size()) + 1; }
    void setRowCount(int count);

    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString &text);
    const Row &rowCells(int row) const { return m_rows[row - 1]; }
    // The object rows 1 .. RowCount() - 1, shared rather than copied.
    const QList<Row> &objectRows() const { return m_rows; }
    void setRowCells(int row, const Row &cells);
    // Writes texts into one column from firstRow down (rows beyond the table
    // are left out), with one change notification for the whole run: a range
    // fill or a renumbering of 2000 rows is one change, not 2000.
    void setColumnCells(int col, int firstRow, const QList<QString> &texts);
    // Writes texts[k] into column col of rows[k] (rows ascending; rows beyond
    // the table are left out), with one change notification: the cells of a
    // selection of objects scattered over the table are one change.
    void setCells(int col, const QList<int> &rows, const QList<QString> &texts);
    // Removes one object row; the rows below move up by one.
    void removeRow(int row);
    // Whether a row holds an object added in this session that has not been
    // given its values yet (its marker stands out until then): set by Add
    // Item and Duplicate, cleared when the row's item is typed, used or
    // imported. It moves with its row and is recorded like a cell.
    bool isAdded(int row) const;
    void setAdded(int row, bool added);
    // The pseudo column of the added mark in a recorded cell change.
    static constexpr int AddedMark = ColumnCount;
    // Empties every cell of a row.
    void clearRow(int row);

    // The cell read as a 32-bit integer; one that is none raises the
    // conversion message naming the cell.
    std::int32_t cellValue(int col, int row) const;

    // "row 3, column "X-Axis"": names a cell in messages.
    static QString cellName(int col, int row);

    // Qt model
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

signals:
    // The user changed a cell's text through the table (not by setCell).
    void cellEdited(int col, int row, const QString &text);

private:
    friend class TJournal;
    bool recording() const;
    // The journal's replay: changes made without recording them, one change
    // notification for a whole run of cells.
    void replayCells(const std::vector<TCellChange> &cells, bool forward);
    void insertRowQuietly(int row, const Row &cells, bool added);
    void removeRowQuietly(int row);
    void resizeQuietly(int objectRows, const QList<Row> &restored, const QList<bool> &added);

    QList<Row> m_rows;
    QList<bool> m_added; // beside m_rows, one entry per row
    TJournal *m_journal = nullptr;
};
