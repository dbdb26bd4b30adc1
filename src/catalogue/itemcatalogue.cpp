#include "itemcatalogue.h"
#include "fileio/errors.h"
#include "fileio/textlinereader.h"

#include <QFileInfo>

TItemCatalogue::TItemCatalogue(QObject *parent) : QAbstractTableModel(parent)
{
    m_rows.resize(DesignRows - 1);
}

TCatalogueLoadResult TItemCatalogue::LoadItemCatalogue(const QString &dir)
{
    const QString path = dir + QStringLiteral("item.ini");
    if (!QFileInfo::exists(path)) {
        TCatalogueLoadResult r;
        r.found = false;
        r.line1 = QStringLiteral("Item-List \"ITEM.INI\" NOT Found");
        r.line2 = QStringLiteral("The Program will started, but no Item-List for you!");
        return r;
    }
    LoadItemCatalogueFile(path);
    return {};
}

void TItemCatalogue::LoadItemCatalogueFile(const QString &path)
{
    // Pairs of lines, number then name, up to the end of the file; an odd
    // last line gets an empty name.
    QList<Item> rows;
    TTextLineReader reader(path, MaxLineLength);
    QByteArray number;
    QByteArray name;
    while (reader.readLine(number)) {
        if (rows.size() == MaxRows)
            throw TError(QStringLiteral("The item list has more than %1 items; no item list is that long")
                             .arg(MaxRows),
                         path);
        if (!reader.readLine(name))
            name.clear();
        rows.append({QString::fromLatin1(number), QString::fromLatin1(name)});
    }
    beginResetModel();
    m_rows = std::move(rows);
    m_lastNameOf.clear();
    for (const Item &item : m_rows)
        m_lastNameOf.insert(item.number, item.name);
    m_loaded = true;
    endResetModel();
}

bool TItemCatalogue::LookupItemName(const QString &numberText, QString &name) const
{
    const auto it = m_lastNameOf.constFind(numberText);
    if (it == m_lastNameOf.constEnd())
        return false;
    name = it.value();
    return true;
}

QString TItemCatalogue::cell(int col, int row) const
{
    if (row == 0)
        return m_loaded ? headerData(col, Qt::Horizontal).toString() : QString();
    if (row < 1 || row > int(m_rows.size()) || col < 0 || col > 1)
        return QString();
    return col == 0 ? m_rows[row - 1].number : m_rows[row - 1].name;
}

int TItemCatalogue::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TItemCatalogue::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant TItemCatalogue::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return QVariant();
    return cell(index.column(), index.row() + 1);
}

QVariant TItemCatalogue::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || !m_loaded)
        return QVariant();
    if (section == 0)
        return QStringLiteral("Number");
    if (section == 1)
        return QStringLiteral("Object");
    return QVariant();
}
