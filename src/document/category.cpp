#include "category.h"

const TCategory *findCategory(int code)
{
    for (const TCategory &c : Categories)
        if (c.code == code)
            return &c;
    return nullptr;
}

int categoryIndex(int code)
{
    for (int i = 0; i < int(Categories.size()); ++i)
        if (Categories[i].code == code)
            return i;
    return -1;
}

QRgb markerFillFor(int code)
{
    const TCategory *c = findCategory(code);
    return c ? c->fill : NoCategoryColour;
}

QRgb markerOutlineFor(int code)
{
    const TCategory *c = findCategory(code);
    return c ? c->outline : NoCategoryColour;
}

const TCategory *categoryByFill(QRgb fill)
{
    for (const TCategory &c : Categories)
        if (c.fill == fill)
            return &c;
    return nullptr;
}
