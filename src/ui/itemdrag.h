#pragma once
// An item of the Item List carried by the mouse onto the map window: the
// drag's data is the item's number text, under a type of the program's own.

#include <QMimeData>
#include <QString>
#include <optional>

inline constexpr const char *ItemDragMimeType = "application/x-vellumar-item";

// The data of a drag that carries the item with this number text.
inline QMimeData *itemDragData(const QString &numberText)
{
    auto *data = new QMimeData;
    data->setData(QString::fromLatin1(ItemDragMimeType), numberText.toUtf8());
    return data;
}

// The item number text a drag carries, if it carries an item.
inline std::optional<QString> draggedItem(const QMimeData *data)
{
    if (!data || !data->hasFormat(QString::fromLatin1(ItemDragMimeType)))
        return std::nullopt;
    return QString::fromUtf8(data->data(QString::fromLatin1(ItemDragMimeType)));
}
