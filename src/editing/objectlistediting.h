#pragma once
// TObjectListEditing: Add Item and Del Item. Both keep the table rows, the
// position cache and the markers in step: a new object appears at the map
// window's centre with a yellow marker above all others and becomes current;
// a delete moves the rows below up by one, their markers' looks with them.
// Ctrl+D, while the table has the focus or the pointer is over the map,
// duplicates the table's selected rows. With the pointer over the map, the
// Delete key deletes the selected objects. An item of the Item List dropped
// on the map is a new object there.

#include <QList>
#include <QObject>
#include <QPoint>
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
    // Appends copies of the selected object rows (the current one when
    // none is selected) after the last row, each with a new ID as Add Item
    // gives one and the other cells copied, with markers as added objects
    // have; the copies become the selection, the current row's copy the
    // current row. Refused as a whole, changing nothing, when the copies
    // would pass MaxObjects. Returns the number of copies made.
    int DuplicateObjects();
    // Deletes the objects of rows as one step; the last remaining object
    // stays (when every object is listed, the first listed). The markers keep
    // their rows and stacking, their looks move up with the rows they show;
    // the row after the first one deleted becomes current (or the new last
    // row). Returns the rows deleted.
    QList<int> DeleteObjects(const QList<int> &rows);
    // An item dropped on window pixel `point`: a new object of that item
    // number with Add Item's ID and name, its marker's top left corner on
    // the pixel (its position that pixel's game position), yellow and above
    // all others; it becomes current. Nothing at MaxObjects objects.
    void addObjectAt(const QString &itemText, QPoint point);

private:
    // After a deletion: the row (in column col) is current, and the current
    // object's ring, radius circle and heading line, which belonged to a
    // deleted object, are hidden.
    void makeCurrentAfterDeleting(int col, int row);
    void hideCurrentObjectMarks();
    void duplicateShortcut();
    void mapKey(int key);

    TMapDocument &m_document;
    TMapViewPanel &m_view;
    TObjectGrid &m_grid;
    const TItemCatalogue &m_catalogue;
    TDialogs &m_dialogs;
    QWidget *m_host;
};
