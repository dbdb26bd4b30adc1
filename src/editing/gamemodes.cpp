#include "gamemodes.h"

#include "document/category.h"
#include "document/objecttable.h"

#include <algorithm>

TStartPoints countStartPoints(const TObjectTable &table, int objectCount)
{
    static const QString Deathmatch = QString::number(StartPointDeathmatch);
    static const QString TeamA = QString::number(StartPointTeamA);
    static const QString TeamB = QString::number(StartPointTeamB);
    TStartPoints points;
    const int last = std::min(objectCount, table.RowCount() - 1);
    for (int row = 1; row <= last; ++row) {
        const QString &item = table.rowCells(row)[TObjectTable::ColObject];
        points.deathmatch += item == Deathmatch;
        points.teamA += item == TeamA;
        points.teamB += item == TeamB;
    }
    return points;
}

std::array<bool, 6> allowedGameTypes(const TStartPoints &points)
{
    const bool deathmatch = points.deathmatch > 0;
    const bool teams = points.teamA > 0 && points.teamB > 0;
    return {true, deathmatch, teams, deathmatch, teams, teams};
}
