#pragma once
// Adding and deleting objects in the map document, without the map window:
// the new object's item, ID, position and row, and the delete that moves the
// rows below up by one with their numbers and cached positions. Everything
// that can fail is checked before anything changes, so a refused add or
// delete leaves the document exactly as it was.

#include "terrain/viewtransform.h"

#include <QList>
#include <QString>
#include <cstdint>

class TItemCatalogue;
class TMapDocument;

// The default item of a new object.
inline constexpr const char *DefaultNewItem = "4076";

// The item number text a new object gets from the Item List's number label:
// the label's caption, or "4076" when it is empty or still reads "Number".
QString newObjectItemText(const QString &pickedNumberLabel);

// The largest "ID" among the objects plus 1; a map without objects starts at
// 1. Every "ID" cell is read first: one that is no integer raises the
// conversion message naming it.
std::int32_t newObjectId(const TMapDocument &doc);

// The game position of the map window's centre, pixel (256, 256).
TGamePoint newObjectPosition(const TViewState &view);

// Appends object row ObjectCount + 1 with its number, ID, item, position
// (also cached) and "0" in the five last columns; "O.Name" takes the
// catalogue's name of the item; the row is marked as added. Returns the new
// row. The caller checked that the document has room (fewer than MaxObjects
// objects).
int appendObjectRow(TMapDocument &doc, std::int32_t id, const QString &itemText, TGamePoint position,
                    const TItemCatalogue &catalogue);

// Appends copies of object rows top .. bottom after the last row, in their
// order: "Nr." their new row, "ID" firstId, firstId + 1, ..., every other cell
// and the cached position copied, each marked as added. Returns the first new
// row. The caller checked that the document has room and that the IDs fit.
int appendObjectCopies(TMapDocument &doc, int top, int bottom, std::int32_t firstId);
// The same for the object rows listed (ascending), which need not be neighbours.
int appendObjectCopies(TMapDocument &doc, const QList<int> &rows, std::int32_t firstId);

// Removes object row `row`: the rows below move up, "Nr." counts on from the
// row above (1 for the first row), the cached positions move with their
// rows, ObjectCount shrinks by one. The last object is never removed (false).
// The "Nr." cell the numbering continues from is read first: one that is no
// integer raises the conversion message naming it.
bool deleteObjectRow(TMapDocument &doc, int row);

// Removes the object rows listed (ascending, each an object row) at once:
// the rows left move up, "Nr." counts on from the row above the first one
// removed, the cached positions move with their rows. The last object is
// never removed: when every object is listed, the first listed stays.
// Returns the rows removed. The "Nr." cell the numbering continues from is
// read first, as for a single row.
QList<int> deleteObjectRows(TMapDocument &doc, const QList<int> &rows);
