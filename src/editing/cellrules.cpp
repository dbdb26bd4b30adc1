#include "cellrules.h"

#include "document/numbers.h"
#include "document/objecttable.h"

#include <QLocale>
#include <cmath>

QString validatedCellText(const QString &text)
{
    static const QString Zero = QStringLiteral("0");
    qsizetype i = 0;
    if (!text.isEmpty() && (text[0] == u'-' || text[0] == u'+'))
        i = 1;
    // A lone sign and an empty cell have no digit to keep.
    if (i == text.size())
        return Zero;
    for (; i < text.size(); ++i)
        if (text[i] < u'0' || text[i] > u'9')
            return Zero;
    return text;
}

bool isNumberColumn(int col)
{
    return col != TObjectTable::ColName;
}

std::optional<std::int32_t> relativeEntry(const QString &text, std::int32_t base, const QString &where)
{
    if (text.size() < 2 || (text[1] != u'+' && text[1] != u'-'))
        return std::nullopt;
    return checkedAdd(StrToInt(text.mid(1), where), base);
}

std::optional<double> headingDegrees(const QString &text)
{
    if (const auto whole = parseInt32(text))
        return double(*whole);
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QPoint headingLineEnd(QPoint centre, double degrees)
{
    const double rad = (degrees + 90) / 57.296;
    const int s = int(std::trunc(HeadingLineLength * std::sin(rad)));
    const int c = int(std::trunc(HeadingLineLength * std::cos(rad)));
    return QPoint(centre.x() - c, centre.y() - s);
}
