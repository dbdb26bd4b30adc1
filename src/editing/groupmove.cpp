#include "groupmove.h"

#include "document/mapdocument.h"

#include <limits>

std::vector<TGamePoint> objectPositions(const TMapDocument &doc, const QList<int> &rows)
{
    std::vector<TGamePoint> positions;
    positions.reserve(rows.size());
    for (int row : rows)
        positions.push_back({doc.ObjectX[row - 1], doc.ObjectY[row - 1]});
    return positions;
}

bool movable(const std::vector<TGamePoint> &from, std::int64_t dx, std::int64_t dy)
{
    constexpr std::int64_t low = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t high = std::numeric_limits<std::int32_t>::max();
    for (const TGamePoint &p : from) {
        const std::int64_t x = p.X + dx;
        const std::int64_t y = p.Y + dy;
        if (x < low || x > high || y < low || y > high)
            return false;
    }
    return true;
}

bool moveObjectsFrom(TMapDocument &doc, const QList<int> &rows, const std::vector<TGamePoint> &from,
                     std::int64_t dx, std::int64_t dy)
{
    if (from.size() != std::size_t(rows.size()) || !movable(from, dx, dy))
        return false;
    QList<QString> xs;
    QList<QString> ys;
    xs.reserve(rows.size());
    ys.reserve(rows.size());
    for (qsizetype k = 0; k < rows.size(); ++k) {
        const auto x = std::int32_t(from[k].X + dx);
        const auto y = std::int32_t(from[k].Y + dy);
        doc.ObjectX[rows[k] - 1] = x;
        doc.ObjectY[rows[k] - 1] = y;
        xs.append(QString::number(x));
        ys.append(QString::number(y));
    }
    doc.Table.setCells(TObjectTable::ColX, rows, xs);
    doc.Table.setCells(TObjectTable::ColY, rows, ys);
    return true;
}
