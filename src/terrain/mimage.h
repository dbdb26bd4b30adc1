#pragma once
// TMImage: one of the four terrain tiles of the map window. A tile is a place
// and a size (Zoom * 512 square) and the picture it stretches to that size;
// all four hold the same implicitly shared picture. The map view paints the
// picture from the view state, clipped to the window, so a tile never becomes
// a bitmap of its own size (25600 pixels square at zoom 50).

#include "viewtransform.h"

#include <QImage>

class TMImage {
public:
    std::int32_t left() const { return m_bounds.Left; }
    std::int32_t top() const { return m_bounds.Top; }
    std::int32_t width() const { return m_bounds.Width; }
    std::int32_t height() const { return m_bounds.Height; }
    const TTileRect &bounds() const { return m_bounds; }
    void setBounds(const TTileRect &bounds);

    const QImage &picture() const { return m_picture; }
    // Shares the picture's data with the other tiles; a null image empties the tile.
    void setPicture(const QImage &picture);

private:
    TTileRect m_bounds;
    QImage m_picture;
};
