#pragma once
// TObjectListEditing: Add Item and Del Item. Both keep the table rows, the
// position cache and the markers in step: a new object appears at the map
// window's centre with a yellow marker above all others and becomes current;
// a delete moves the rows below up by one, their markers' looks with them.
// Ctrl+D, while the table has the focus or the pointer is over the map,
// duplicates the table's selected rows.

#include <QObject>
#include <QString>
#include <functional>

class QWidget;
class TDialogs;
class TItemCatalogue;
class TMapDocument;
class TMapViewPanel;
class TObjectGrid;

class TObjectListEditing : public QObject {
    Q_OBJECT
public:
    TObjectListEditing(TMapDocument &document, TMapViewPanel &view, TObjectGrid &grid,
                       const TItemCatalogue &catalogue, TDialogs &dialogs, QWidget *host);

    // The caption of the Item List's number label ("Number" until an item is picked).
    std::function<QString()> pickedItemNumber;

    // Button9Click and Button10Click: the commands with their error box.
    void Button9Click();
    void Button10Click();

    // Throw TError, having changed nothing, when an "ID" or "Nr." cell is no integer.
    void AddObject();
    void DeleteObject();
    // Appends copies of the selected object rows after the last row, each
    // with a new ID as Add Item gives one and the other cells copied, with
    // markers as added objects have; the copies become the selection. Refused
    // as a whole, changing nothing, when the copies would pass MaxObjects.
    // Returns the number of copies made.
    int DuplicateObjects();

private:
    void duplicateShortcut();

    TMapDocument &m_document;
    TMapViewPanel &m_view;
    TObjectGrid &m_grid;
    const TItemCatalogue &m_catalogue;
    TDialogs &m_dialogs;
    QWidget *m_host;
};
