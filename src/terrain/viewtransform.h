#pragma once
// The arithmetic of the map view, free of any window: the view state (offsets
// and zoom), the transforms between game coordinates and window pixels of the
// 512-pixel map window, the layout of the four picture tiles, the zoom offset
// correction, the scroll step with its wrap, and where the selection ring and
// the radius circle sit around a marker. Offset and size arithmetic raises the
// integer overflow error instead of wrapping; divisions truncate toward zero.

#include <QPoint>
#include <array>
#include <cstdint>

// Side of the map window in pixels; the terrain picture is shown at this size
// at zoom 1.
inline constexpr std::int32_t ViewPanelSize = 512;
// Game units per map pixel at zoom 1, derived from the window's width.
inline constexpr std::int32_t GameUnitsPerPixel = (1024 / ViewPanelSize) * 65536;
static_assert(GameUnitsPerPixel == 131072);

inline constexpr std::int32_t MarkerSize = 4;
inline constexpr std::int32_t SelectorSize = 12;
inline constexpr std::int32_t MinZoom = 1;
inline constexpr std::int32_t MaxZoom = 50;
// One scroll bar position is this many window pixels, whatever the zoom.
inline constexpr std::int32_t ScrollStepPixels = 64;
// The window point that zooming and centring keep in place.
inline constexpr std::int32_t ViewCentre = 256;
// A scroll step moves only markers whose new place lies strictly inside this
// band in both directions (a margin wider than one step around the window).
inline constexpr std::int32_t ScrollBandLow = -75;
inline constexpr std::int32_t ScrollBandHigh = 580;

struct TViewState {
    // Window pixel at which the map's left edge (game X 0) is drawn.
    std::int32_t ViewOffsetX = 0;
    // Window pixel at which the map's top edge (game Y 0) is drawn.
    std::int32_t ViewOffsetY = 0;
    // One map pixel of zoom 1 is Zoom by Zoom window pixels (1 to 50).
    std::int32_t Zoom = 1;

    bool operator==(const TViewState &) const = default;
};

struct TGamePoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    bool operator==(const TGamePoint &) const = default;
};

// Window place of a marker's top-left corner for an object at (posX, posY):
// x = (posX div 131072) * Zoom + ViewOffsetX, y = ViewOffsetY - (posY div 131072) * Zoom.
QPoint gameToWindow(const TViewState &view, std::int32_t posX, std::int32_t posY);

// The map reader places markers without the zoom factor (it runs at zoom 1 in
// the normal case; the centring after a load repositions every marker).
QPoint gameToWindowWithoutZoom(const TViewState &view, std::int32_t posX, std::int32_t posY);

// Game position under window pixel (x, y), in 64 bits: the pointer readouts
// show it however far the view was scrolled.
struct TWideGamePoint {
    std::int64_t X = 0;
    std::int64_t Y = 0;
};
TWideGamePoint windowToGameWide(const TViewState &view, std::int32_t x, std::int32_t y);

// The same as a position an object can take (mouse moves, the place of a new
// object); one beyond 32 bits raises the integer overflow error.
TGamePoint windowToGame(const TViewState &view, std::int32_t x, std::int32_t y);

// Whether an object at (posX, posY) stands on the terrain itself: its
// marker, placed by the transform's truncating division, lies on the
// terrain's own copy of the picture and not on a copy beyond its edge.
constexpr bool objectOnTerrain(std::int32_t posX, std::int32_t posY)
{
    const std::int32_t column = posX / GameUnitsPerPixel;
    const std::int32_t row = -(posY / GameUnitsPerPixel);
    return column >= 0 && column < ViewPanelSize && row >= 0 && row < ViewPanelSize;
}

// Whether window pixel (x, y) shows the terrain's own copy of the picture.
constexpr bool windowPixelOnTerrain(const TViewState &view, std::int32_t x, std::int32_t y)
{
    const std::int64_t size = std::int64_t(ViewPanelSize) * view.Zoom;
    return x >= view.ViewOffsetX && x < view.ViewOffsetX + size && y >= view.ViewOffsetY
        && y < view.ViewOffsetY + size;
}

// Whether a scroll step moves a marker to this place.
constexpr bool insideScrollBand(QPoint p)
{
    return p.x() > ScrollBandLow && p.x() < ScrollBandHigh && p.y() > ScrollBandLow
        && p.y() < ScrollBandHigh;
}

// One picture tile's place and size in window pixels.
struct TTileRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = ViewPanelSize;
    std::int32_t Height = ViewPanelSize;
    bool operator==(const TTileRect &) const = default;
};

// MImage1 .. MImage4 at indexes 0 .. 3.
using TTileLayout = std::array<TTileRect, 4>;

// The tiles at program start and after Reset: MImage1 at (0, 0), MImage2
// above it, MImage3 above left, MImage4 left of it.
TTileLayout startTileLayout();

// Tiles of Zoom * 512 pixels placed from the offsets: MImage1 at the offsets'
// remainders (with the offsets' signs), its neighbours on the side that
// completes the cover of the window.
TTileLayout layoutTiles(const TViewState &view);

enum class TScrollAxis { Horizontal, Vertical };

// One scroll step: every tile moves by -step along the axis, then MImage1 wraps
// back into its first tile period [0, size) with its neighbours restacked above
// (vertical) or to the left (horizontal), so the tiles keep covering the window.
void scrollTiles(TTileLayout &tiles, TScrollAxis axis, std::int32_t step);

// Sets Zoom to newZoom and corrects the offsets so that window point
// (256, 256) stays over the same map point for a one-step change; the old
// factor is used once, whatever the size of the change. Returns the zoom
// direction: -1 (out), +1 (in) or 0 (unchanged). A zoom outside 1..50 raises
// the range check error.
int zoomTo(TViewState &view, std::int32_t newZoom);

// Offsets that put the top-left corner of the marker of an object at
// (posX, posY) on window (256, 256).
void centreOn(TViewState &view, std::int32_t posX, std::int32_t posY);

// Offsets that centre the view on a set of objects after a load: the sums of
// the objects' pixel positions times Zoom, divided by count + 1.
void centreOnObjects(TViewState &view, const std::int32_t *objectX, const std::int32_t *objectY,
                     int count);

// Top-left corner of the 12-pixel selection ring centred on a marker.
QPoint selectorPlaceFor(QPoint markerTopLeft);

// Top-left corner of a radius circle of this diameter centred on a marker.
QPoint rangerPlaceFor(QPoint markerTopLeft, std::int32_t diameter);

// The same place computed from the object's position, for when its marker
// may not have followed the view.
QPoint rangerPlaceAt(const TViewState &view, std::int32_t posX, std::int32_t posY,
                     std::int32_t diameter);
