#include "mapnamebox.h"

static bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool MapKeyHasName(const QByteArray &mapKey)
{
    const qsizetype zero = mapKey.indexOf('\0');
    return (zero < 0 ? mapKey : mapKey.left(zero)).contains("MPNAME");
}

void TMapNameBox::select(int index)
{
    selected = index >= 0 && index < items.size() ? index : -1;
}

bool TMapNameBox::fill(const QList<QByteArray> &names, const QByteArray &mapKey)
{
    items = names;
    selected = -1;
    TypedName.clear();
    const QByteArray key = mapKey.leftJustified(8, '\0', true);
    if (isDigit(key[6]) && isDigit(key[7]))
        select(10 * (key[6] - '0') + (key[7] - '0') - 1);
    const bool noKey = !MapKeyHasName(key);
    if (noKey)
        select(0);
    RememberedNameIndex = selected;
    return noKey;
}

void TMapNameBox::clear()
{
    items.clear();
    selected = -1;
    TypedName.clear();
    RememberedNameIndex = -1;
}

void TMapNameBox::keyDown(bool enter, const QString &currentText)
{
    TypedName = currentText;
    if (!enter || TypedName.isEmpty())
        return;
    const QByteArray name = TypedName.toLatin1();
    if (items.contains(name))
        return;
    items.append(name);
    select(int(items.size()) - 1);
    RememberedNameIndex = selected;
}

void TMapNameBox::click(int index)
{
    select(index);
    RememberedNameIndex = selected;
}

void TMapNameBox::exit()
{
    if (!TypedName.isEmpty())
        select(RememberedNameIndex);
}

void TMapNameBox::deleteSelected()
{
    int k = selected;
    if (k >= 0 && k < items.size())
        items.removeAt(k);
    if (k == items.size())
        k = k - 1;
    select(k);
    RememberedNameIndex = selected;
}

QString TMapNameBox::selectedText() const
{
    return selected >= 0 ? QString::fromLatin1(items[selected]) : QString();
}
