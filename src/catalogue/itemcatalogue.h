#pragma once
// TItemCatalogue: the item types that can be placed on a map, read from
// item.ini (line pairs: number text, name). Row 0 is the title row ("Number",
// "Object"); catalogue row k is table row k. Numbers are text and compared as
// text; the Item List window shows this model.

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QString>

struct TCatalogueLoadResult {
    bool found = true;
    // The Info message for a missing file (first and second line).
    QString line1;
    QString line2;
};

class TItemCatalogue : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int DesignRows = 50; // empty rows shown when no file was found
    static constexpr const char *HeadingNumber = "----";
    // What an item list can hold: item numbers run from 1000 to 7099, so a
    // real list has well under a thousand rows of short lines. Longer files
    // are refused rather than read.
    static constexpr int MaxRows = 10000;
    static constexpr qsizetype MaxLineLength = 1024;

    explicit TItemCatalogue(QObject *parent = nullptr);

    // Reads dir + "item.ini" (dir ends with its separator). A missing file
    // leaves the catalogue empty and reports the Info message's two lines.
    // A file that cannot be read, or is no item list, raises its error naming
    // the file and leaves the catalogue as it was.
    TCatalogueLoadResult LoadItemCatalogue(const QString &dir);
    // Reads the catalogue from a file of any name (errors as above).
    void LoadItemCatalogueFile(const QString &path);

    // The name of the last row whose number text equals numberText exactly;
    // returns false (name unchanged) when no row matches.
    bool LookupItemName(const QString &numberText, QString &name) const;

    // Rows including the title row, as the table counts them.
    int RowCount() const { return int(m_rows.size()) + 1; }
    QString cell(int col, int row) const;
    bool hasTitles() const { return m_loaded; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Item {
        QString number;
        QString name;
    };
    QList<Item> m_rows;
    QHash<QString, QString> m_lastNameOf;
    bool m_loaded = false;
};
