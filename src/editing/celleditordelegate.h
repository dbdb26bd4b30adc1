#pragma once
// TCellEditorDelegate: the in-place editor of the object table. Each change
// of the editor's text is written into the cell at once through the table's
// setter (so the map follows every keystroke); Escape puts back the text the
// cell had when editing began; Enter, Tab and Shift+Tab are handed to the grid.
// Cells are painted as a plain grid paints them: the text on the cell's
// background, the selection highlighted, a focus frame on the current cell;
// cheap enough that a change of 2000 cells repaints within a keystroke.

#include <QFont>
#include <QHash>
#include <QPersistentModelIndex>
#include <QStaticText>
#include <QStyledItemDelegate>

class TObjectGrid;

class TCellEditorDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TCellEditorDelegate(TObjectGrid *grid);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // Writes the text the edited cell had before editing began back into it.
    void revert(QWidget *editor) const;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    TObjectGrid *m_grid;
    // Laid-out cell texts: a table repaints the same numbers over and over.
    mutable QHash<QString, QStaticText> m_texts;
    mutable QFont m_textFont;
};
