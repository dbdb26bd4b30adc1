#include "mimage.h"

void TMImage::setBounds(const TTileRect &bounds)
{
    m_bounds = bounds;
}

void TMImage::setPicture(const QImage &picture)
{
    m_picture = picture;
}
