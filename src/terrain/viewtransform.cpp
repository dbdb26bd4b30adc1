#include "viewtransform.h"

#include "fileio/errors.h"
#include "document/numbers.h"

QPoint gameToWindow(const TViewState &view, std::int32_t posX, std::int32_t posY)
{
    const std::int32_t x = checkedAdd(checkedMul(posX / GameUnitsPerPixel, view.Zoom), view.ViewOffsetX);
    const std::int32_t y = checkedSub(view.ViewOffsetY, checkedMul(posY / GameUnitsPerPixel, view.Zoom));
    return QPoint(x, y);
}

QPoint gameToWindowWithoutZoom(const TViewState &view, std::int32_t posX, std::int32_t posY)
{
    return QPoint(checkedAdd(view.ViewOffsetX, posX / GameUnitsPerPixel),
                  checkedSub(view.ViewOffsetY, posY / GameUnitsPerPixel));
}

TWideGamePoint windowToGameWide(const TViewState &view, std::int32_t x, std::int32_t y)
{
    // Pixel and offset are divided by the zoom separately, each toward zero.
    const std::int64_t zoom = view.Zoom;
    const std::int64_t unit = GameUnitsPerPixel;
    return {x * unit / zoom - view.ViewOffsetX / zoom * unit, view.ViewOffsetY / zoom * unit - y * unit / zoom};
}

TGamePoint windowToGame(const TViewState &view, std::int32_t x, std::int32_t y)
{
    const TWideGamePoint p = windowToGameWide(view, x, y);
    const auto narrow = [](std::int64_t v) {
        if (v < INT32_MIN || v > INT32_MAX)
            throw TError(Msg::IntegerOverflow);
        return std::int32_t(v);
    };
    return {narrow(p.X), narrow(p.Y)};
}

TTileLayout startTileLayout()
{
    return layoutTiles(TViewState{});
}

TTileLayout layoutTiles(const TViewState &view)
{
    const std::int32_t w = checkedMul(view.Zoom, ViewPanelSize);
    const std::int32_t h = w;
    TTileLayout t;
    for (TTileRect &r : t) {
        r.Width = w;
        r.Height = h;
    }
    // The remainder keeps the offset's sign, so MImage1 lies within one tile
    // of the window's origin on the side the offset points to.
    t[0].Left = view.ViewOffsetX % w;
    t[0].Top = view.ViewOffsetY % h;

    const std::int32_t rowTop = t[0].Top < 0 ? checkedAdd(t[0].Top, h) : checkedSub(t[0].Top, h);
    t[1].Top = rowTop;
    t[2].Top = rowTop;
    t[3].Top = t[0].Top;

    const std::int32_t columnLeft =
        t[0].Left < 0 ? checkedAdd(t[0].Left, w) : checkedSub(t[0].Left, w);
    t[1].Left = t[0].Left;
    t[3].Left = columnLeft;
    t[2].Left = columnLeft;
    return t;
}

void scrollTiles(TTileLayout &tiles, TScrollAxis axis, std::int32_t step)
{
    if (axis == TScrollAxis::Vertical) {
        for (TTileRect &r : tiles)
            r.Top = checkedSub(r.Top, step);
        // The wrap: a negative top gains one height, a top at or past one
        // height loses one. Whatever side LayoutTiles had put the neighbours
        // on, they go one height above MImage1 afterwards.
        const std::int32_t h = tiles[0].Height;
        std::int32_t top = tiles[0].Top % h;
        if (top < 0)
            top += h;
        tiles[0].Top = top;
        tiles[1].Top = top - h;
        tiles[2].Top = top - h;
        tiles[3].Top = top;
    } else {
        for (TTileRect &r : tiles)
            r.Left = checkedSub(r.Left, step);
        const std::int32_t w = tiles[0].Width;
        std::int32_t left = tiles[0].Left % w;
        if (left < 0)
            left += w;
        tiles[0].Left = left;
        tiles[1].Left = left;
        tiles[2].Left = left - w;
        tiles[3].Left = left - w;
    }
}

int zoomTo(TViewState &view, std::int32_t newZoom)
{
    if (newZoom < MinZoom || newZoom > MaxZoom)
        throw TError(QString::fromLatin1(Msg::RangeCheck));
    const std::int32_t old = view.Zoom;
    if (newZoom == old)
        return 0;
    const std::int32_t shiftX = checkedSub(ViewCentre, view.ViewOffsetX) / old;
    const std::int32_t shiftY = checkedSub(ViewCentre, view.ViewOffsetY) / old;
    view.Zoom = newZoom;
    if (newZoom < old) {
        view.ViewOffsetX = checkedAdd(view.ViewOffsetX, shiftX);
        view.ViewOffsetY = checkedAdd(view.ViewOffsetY, shiftY);
        return -1;
    }
    view.ViewOffsetX = checkedSub(view.ViewOffsetX, shiftX);
    view.ViewOffsetY = checkedSub(view.ViewOffsetY, shiftY);
    return 1;
}

void centreOn(TViewState &view, std::int32_t posX, std::int32_t posY)
{
    view.ViewOffsetX = checkedSub(ViewCentre, checkedMul(posX / GameUnitsPerPixel, view.Zoom));
    view.ViewOffsetY = checkedAdd(checkedMul(posY / GameUnitsPerPixel, view.Zoom), ViewCentre);
}

void centreOnObjects(TViewState &view, const std::int32_t *objectX, const std::int32_t *objectY,
                     int count)
{
    std::int32_t sumX = 0;
    std::int32_t sumY = 0;
    for (int i = 0; i < count; ++i) {
        sumX = checkedAdd(sumX, checkedMul(objectX[i] / GameUnitsPerPixel, view.Zoom));
        sumY = checkedAdd(sumY, checkedMul(objectY[i] / GameUnitsPerPixel, view.Zoom));
    }
    const std::int32_t divisor = checkedAdd(count, 1);
    view.ViewOffsetX = checkedSub(ViewCentre, sumX / divisor);
    view.ViewOffsetY = checkedAdd(sumY / divisor, ViewCentre);
}

QPoint selectorPlaceFor(QPoint markerTopLeft)
{
    const std::int32_t shift = MarkerSize / 2 - SelectorSize / 2;
    return QPoint(checkedAdd(markerTopLeft.x(), shift), checkedAdd(markerTopLeft.y(), shift));
}

QPoint rangerPlaceFor(QPoint markerTopLeft, std::int32_t diameter)
{
    // The circle is square, so width and height halve alike.
    const std::int32_t half = diameter / 2;
    return QPoint(checkedAdd(checkedSub(markerTopLeft.x(), half), MarkerSize / 2),
                  checkedAdd(checkedSub(markerTopLeft.y(), half), MarkerSize / 2));
}

QPoint rangerPlaceAt(const TViewState &view, std::int32_t posX, std::int32_t posY,
                     std::int32_t diameter)
{
    return rangerPlaceFor(gameToWindow(view, posX, posY), diameter);
}
