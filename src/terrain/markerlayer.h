#pragma once
// TMarkerLayer: the object markers on the map window and the marks of the
// current object. One marker per object row, coloured by its category (a
// newly added object's yellow until it is given its values), hinted with its
// name, shown as the category filters say, placed from the position caches
// in the view as it stands; the selection ring (Selector) and the radius
// circle (Ranger) on the current object. After the journal put the document
// back, follow() brings every marker in line with it. The markers of the
// selected objects (the table's selected rows) carry a mark of their own.
//
// Operations throw TError (conversion, overflow); their callers run them
// through the error guard.

#include "document/mapdocument.h"
#include "groupmarks.h"
#include "marker.h"
#include "viewtransform.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <array>
#include <cstdint>
#include <functional>

class TMapView;

// Which marks of the current object the map shows: the selection ring and
// whether it stands in front of the markers, the radius circle with the size
// it was drawn at and that zoom, and whether the heading line is drawn.
struct TSelectionMarks {
    bool selector = false;
    bool selectorInFront = false;
    bool ranger = false;
    bool heading = false;
    int rangerSize = 0;
    int zoom = 1;

    bool operator==(const TSelectionMarks &other) const = default;
};

class TMarkerLayer {
public:
    // shownCategory: whether the filter box of a category (index into
    // Categories) is ticked.
    TMarkerLayer(TMapView &map, const TViewState &view, const TMapDocument &document,
                 std::function<bool(int category)> shownCategory);

    // Markers[row] for table rows 1 .. 2000; entry 0 is unused.
    TMarker *operator[](int row) const { return m_markers[row]; }
    auto begin() const { return m_markers.begin(); }
    auto end() const { return m_markers.end(); }

    // The map reader's marker for a table row: category colour (black with a
    // white outline), tooltip from "O.Name", placed from the position cache
    // without the zoom factor, hidden when its category's box is unticked.
    TMarker *createForRow(int row);
    // The marker of a newly added object: yellow, at window (256, 256), shown
    // whatever the filters say, above every other marker.
    TMarker *addForNewRow(int row);
    void destroy(int row);
    void destroyAll();
    // After the journal put the document back: a marker for every object row
    // and none beyond, each coloured, hinted and shown from its row (an added
    // row's yellow; a cell that is no item number keeps the marker's colour),
    // placed from the position cache in the view as it stands.
    void follow();
    // Places the markers from the position caches: all of them, or only
    // those whose new place lies in the band around the window (a scroll step).
    void place(bool all);
    // The category filters changed: every marker of a category is shown or hidden.
    void applyFilters();
    // Colours a marker by the category of an item number.
    static void ApplyCategoryColour(TMarker *marker, std::int32_t itemNumber);

    // The window place of a row's marker from the position cache.
    QPoint markerPlaceForRow(int row) const;
    // Whether CurrentRow names an object that has a marker.
    bool hasCurrentObject() const { return currentMarker() != nullptr; }
    TMarker *currentMarker() const;

    // --- the marks of the current object ---------------------------------------
    // Set while the current object is selected for moving; while set, the
    // selection marks follow scrolling.
    bool SelectionShown = false;
    // The radius circle from the current row's "Radius" times Zoom and the
    // selection ring, both centred on the current marker and shown.
    void PlaceSelectionMarks();
    // Ranger sized from the current row's "Radius" times Zoom, centred on m, shown.
    void showRangerOn(const TMarker *m);
    // Which selection marks are shown, and the ring and radius circle shown
    // or hidden as given, placed on the current object (none without one).
    // The heading line is cleared; drawing it is the table editing's.
    TSelectionMarks selectionMarks() const;
    void putSelectionMarks(const TSelectionMarks &marks);
    // The view moved: the ring follows the current marker; while the
    // object is selected for moving, the radius circle follows its position.
    void marksFollowView();
    void hideMarks();

    // --- the selected objects --------------------------------------------------
    // The rows whose markers carry the selection mark (ascending).
    void setSelectedRows(const QList<int> &rows);
    const QList<int> &selectedRows() const { return m_selected; }
    bool isSelected(int row) const;
    // The rows of the shown markers that touch a rectangle of window pixels
    // (its edges included), ascending.
    QList<int> rowsTouching(const QRect &band) const;
    // The rows of every shown marker, ascending.
    QList<int> shownRows() const;

private:
    std::int32_t currentRadiusDiameter() const;
    // Colour, hint and visibility of a row's marker from the row.
    void showRow(TMarker *m, int row) const;

    TMapView &m_map;
    const TViewState &m_view;
    const TMapDocument &m_document;
    std::function<bool(int)> m_shownCategory;
    std::array<TMarker *, TMapDocument::MaxObjects + 1> m_markers{};
    QList<int> m_selected;
    std::array<bool, TMapDocument::MaxObjects + 1> m_isSelected{};
    TGroupMarks *m_groupMarks;
};
