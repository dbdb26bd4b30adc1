#pragma once
// TWeaponBox: ComboBox3, the weapon list of the "Weapon" column. A double
// click on a "Weapon" cell opens it exactly over that cell on the entry of
// the cell's code; choosing an entry writes its code into the cell and into
// the selection's other rows. The grid's clicks and selections and a left
// press on the empty map hide it again.

#include <QObject>

class QComboBox;
class QWidget;
class TDialogs;
class TMapDocument;
class TObjectGrid;
class TTableEditing;

class TWeaponBox : public QObject {
    Q_OBJECT
public:
    // Fills the box with the weapon entries and connects itself to the grid's
    // double click and to the box's focus and choice.
    TWeaponBox(QComboBox *box, TMapDocument &document, TObjectGrid &grid, TTableEditing &editing,
               TDialogs &dialogs, QWidget *host);

    void StringGrid1DblClick();
    void ComboBox3Enter();
    void ComboBox3Change(int entry);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QComboBox *m_box;
    TMapDocument &m_document;
    TObjectGrid &m_grid;
    TTableEditing &m_editing;
    TDialogs &m_dialogs;
    QWidget *m_host;
};
