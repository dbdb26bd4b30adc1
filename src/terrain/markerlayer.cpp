#include "markerlayer.h"

#include "document/category.h"
#include "document/numbers.h"
#include "fileio/errors.h"
#include "mapview.h"

#include <algorithm>
#include <limits>

TMarkerLayer::TMarkerLayer(TMapView &map, const TViewState &view, const TMapDocument &document,
                           std::function<bool(int category)> shownCategory)
    : m_map(map), m_view(view), m_document(document), m_shownCategory(std::move(shownCategory)),
      m_groupMarks(new TGroupMarks(*this))
{
    m_map.addGroupMarks(m_groupMarks);
}

QPoint TMarkerLayer::markerPlaceForRow(int row) const
{
    return gameToWindow(m_view, m_document.ObjectX[row - 1], m_document.ObjectY[row - 1]);
}

TMarker *TMarkerLayer::currentMarker() const
{
    const int row = m_document.CurrentRow;
    if (row < 1 || row > std::min(m_document.ObjectCount, TMapDocument::MaxObjects))
        return nullptr;
    return m_markers[row];
}

TMarker *TMarkerLayer::createForRow(int row)
{
    if (row < 1 || row > TMapDocument::MaxObjects)
        throw TError(QString::fromLatin1(Msg::RangeCheck));
    const int code = m_document.categoryOfRow(row);
    const QPoint place =
        gameToWindowWithoutZoom(m_view, m_document.ObjectX[row - 1], m_document.ObjectY[row - 1]);

    destroy(row);
    auto *m = new TMarker(&m_map, row);
    m_markers[row] = m;
    m->setTopLeft(place);
    m->setColours(markerFillFor(code), markerOutlineFor(code));
    m->setHint(m_document.Table.cell(TObjectTable::ColName, row));
    // A marker of no category is always shown.
    const int box = categoryIndex(code);
    m->setVisible(box < 0 || m_shownCategory(box));
    m_map.addMarker(m);
    return m;
}

TMarker *TMarkerLayer::addForNewRow(int row)
{
    if (row < 1 || row > TMapDocument::MaxObjects)
        throw TError(QString::fromLatin1(Msg::RangeCheck));
    destroy(row);
    auto *m = new TMarker(&m_map, row);
    m_markers[row] = m;
    m->setTopLeft(QPoint(ViewCentre, ViewCentre));
    m->setColours(NewObjectColour, NewObjectColour);
    m->setHint(m_document.Table.cell(TObjectTable::ColName, row));
    m_map.addMarker(m);
    return m;
}

void TMarkerLayer::destroy(int row)
{
    if (row < 1 || row > TMapDocument::MaxObjects)
        return;
    delete m_markers[row];
    m_markers[row] = nullptr;
}

void TMarkerLayer::destroyAll()
{
    // Last first: the scene then drops each item from the end of its list.
    for (int row = TMapDocument::MaxObjects; row >= 1; --row)
        destroy(row);
}

void TMarkerLayer::showRow(TMarker *m, int row) const
{
    const TObjectTable &table = m_document.Table;
    if (table.isAdded(row)) {
        m->setColours(NewObjectColour, NewObjectColour);
        m->setVisible(true);
    } else if (const auto item = parseInt32(table.cell(TObjectTable::ColObject, row))) {
        const int code = categoryOf(*item);
        m->setColours(markerFillFor(code), markerOutlineFor(code));
        const int box = categoryIndex(code);
        m->setVisible(box < 0 || m_shownCategory(box));
    }
    m->setHint(table.cell(TObjectTable::ColName, row));
}

void TMarkerLayer::follow()
{
    const int count = std::clamp(m_document.ObjectCount, 0, int(TMapDocument::MaxObjects));
    for (int row = TMapDocument::MaxObjects; row > count; --row)
        if (m_markers[row])
            destroy(row);
    for (int row = 1; row <= count; ++row) {
        TMarker *m = m_markers[row];
        if (!m) {
            m = new TMarker(&m_map, row);
            m_markers[row] = m;
            m->setColours(NoCategoryColour, NoCategoryColour);
            m_map.addMarker(m);
        }
        showRow(m, row);
    }
}

void TMarkerLayer::place(bool all)
{
    const int count = std::min(m_document.ObjectCount, TMapDocument::MaxObjects);
    for (int row = 1; row <= count; ++row) {
        TMarker *m = m_markers[row];
        if (!m)
            continue;
        const QPoint place = markerPlaceForRow(row);
        // A scroll step leaves the markers far outside the window where
        // they are until the next full repositioning.
        if (all || insideScrollBand(place))
            m->setTopLeft(place);
    }
}

void TMarkerLayer::applyFilters()
{
    const int count = std::min(m_document.ObjectCount, TMapDocument::MaxObjects);
    for (int row = 1; row <= count; ++row) {
        TMarker *m = m_markers[row];
        if (!m)
            continue;
        // The category is told by the marker's colour; a marker of any other
        // colour (no category) keeps its visibility.
        if (const TCategory *c = categoryByFill(m->fillColour()))
            m->setVisible(m_shownCategory(categoryIndex(c->code)));
    }
}

void TMarkerLayer::ApplyCategoryColour(TMarker *marker, std::int32_t itemNumber)
{
    if (!marker)
        return;
    const int code = categoryOf(itemNumber);
    marker->setColours(markerFillFor(code), markerOutlineFor(code));
}

// --- the marks of the current object ---------------------------------------------

std::int32_t TMarkerLayer::currentRadiusDiameter() const
{
    const int row = m_document.CurrentRow;
    const std::int32_t radius = StrToInt(m_document.Table.cell(TObjectTable::ColRadius, row),
                                         TObjectTable::cellName(TObjectTable::ColRadius, row));
    return checkedMul(radius, m_view.Zoom);
}

void TMarkerLayer::PlaceSelectionMarks()
{
    TMarker *m = currentMarker();
    if (!m)
        return;
    showRangerOn(m);
    m_map.Selector->setTopLeft(selectorPlaceFor(m->topLeft()));
    m_map.Selector->show();
}

void TMarkerLayer::showRangerOn(const TMarker *m)
{
    const std::int32_t d = currentRadiusDiameter();
    const QPoint ranger = rangerPlaceFor(m->topLeft(), d);
    m_map.Ranger->setBounds(ranger.x(), ranger.y(), d, d);
    m_map.Ranger->show();
}

TSelectionMarks TMarkerLayer::selectionMarks() const
{
    return {m_map.Selector->isVisible(), m_map.Selector->zValue() == TMapView::SelectorFrontZ,
            m_map.Ranger->isVisible(),   !m_map.Work_maske->isLayerEmpty(),
            m_map.Ranger->width(),       m_view.Zoom};
}

void TMarkerLayer::putSelectionMarks(const TSelectionMarks &marks)
{
    m_map.Selector->setZValue(marks.selectorInFront ? TMapView::SelectorFrontZ : TMapView::SelectorZ);
    m_map.clearWorkMask();
    const TMarker *m = currentMarker();
    if (m && marks.selector) {
        m_map.Selector->setTopLeft(selectorPlaceFor(m->topLeft()));
        m_map.Selector->show();
    } else {
        m_map.Selector->hide();
    }
    m_map.Ranger->hide();
    if (m && marks.ranger) {
        // The same radius at the zoom of now.
        std::int64_t d = marks.rangerSize;
        if (marks.zoom > 0 && marks.zoom != m_view.Zoom)
            d = d / marks.zoom * m_view.Zoom;
        const auto size = std::int32_t(std::clamp<std::int64_t>(d, 0, std::numeric_limits<std::int32_t>::max()));
        const QPoint place = rangerPlaceFor(m->topLeft(), size);
        m_map.Ranger->setBounds(place.x(), place.y(), size, size);
        m_map.Ranger->show();
    }
}

// While the current object is armed its radius circle and selection ring
// follow the view. Its marker may have kept a stale place outside the window;
// the radius circle is placed from the object's position instead.
void TMarkerLayer::marksFollowView()
{
    if (!SelectionShown)
        return;
    TMarker *m = currentMarker();
    if (!m)
        return;
    const int row = m_document.CurrentRow;
    const std::int32_t d = currentRadiusDiameter();
    const QPoint ranger = rangerPlaceAt(m_view, m_document.ObjectX[row - 1], m_document.ObjectY[row - 1], d);
    m_map.Ranger->setBounds(ranger.x(), ranger.y(), d, d);
    m_map.Ranger->show();
    m_map.Selector->setTopLeft(selectorPlaceFor(m->topLeft()));
}

void TMarkerLayer::hideMarks()
{
    m_map.Ranger->hide();
    m_map.Selector->hide();
    m_map.Selector->setZValue(TMapView::SelectorZ);
    SelectionShown = false;
}

// --- the selected objects ------------------------------------------------------

void TMarkerLayer::setSelectedRows(const QList<int> &rows)
{
    // Compared by their elements: Qt 6.4's list comparison hands an empty
    // list's null data to memcmp.
    if (std::equal(rows.begin(), rows.end(), m_selected.begin(), m_selected.end()))
        return;
    for (int row : m_selected)
        m_isSelected[row] = false;
    m_selected.clear();
    for (int row : rows)
        if (row >= 1 && row <= TMapDocument::MaxObjects && !m_isSelected[row]) {
            m_isSelected[row] = true;
            m_selected.append(row);
        }
    std::sort(m_selected.begin(), m_selected.end());
    m_groupMarks->update();
}

bool TMarkerLayer::isSelected(int row) const
{
    return row >= 1 && row <= TMapDocument::MaxObjects && m_isSelected[row];
}

QList<int> TMarkerLayer::rowsTouching(const QRect &band) const
{
    const QRect r = band.normalized();
    const int count = std::min(m_document.ObjectCount, TMapDocument::MaxObjects);
    QList<int> rows;
    for (int row = 1; row <= count; ++row) {
        const TMarker *m = m_markers[row];
        if (!m || !m->isVisible())
            continue;
        const QPoint p = m->topLeft();
        if (p.x() <= r.right() && p.x() + MarkerSize - 1 >= r.left() && p.y() <= r.bottom()
            && p.y() + MarkerSize - 1 >= r.top())
            rows.append(row);
    }
    return rows;
}

QList<int> TMarkerLayer::shownRows() const
{
    const int count = std::min(m_document.ObjectCount, TMapDocument::MaxObjects);
    QList<int> rows;
    for (int row = 1; row <= count; ++row)
        if (const TMarker *m = m_markers[row]; m && m->isVisible())
            rows.append(row);
    return rows;
}
