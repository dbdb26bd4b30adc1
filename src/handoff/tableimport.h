#pragma once
// Reading a separated table text (export.txt, or a spreadsheet's version of
// it) back into the object table. Only separators count: each one ends a
// field, every tenth field ends a record, CR and LF are skipped wherever they
// stand, and text after the last separator is dropped. Field k (from 0) lands
// in table row k / 10 + 1, column k % 10 + 1; the table keeps its row count,
// so the reader stops as soon as every row has its ten fields.

#include "fileio/errors.h"

#include <QByteArrayView>
#include <QStringList>
#include <optional>

class TMapDocument;
class TObjectTable;

inline constexpr int ImportFieldsPerRow = 10;
// No cell of the table comes near this; a field longer than this (counted
// without the skipped line ends) means the file is no table in this
// separator, and the import stops instead of reading on.
inline constexpr qsizetype MaxImportFieldBytes = 1024;

// The reader, fed piece by piece so a file is read no further than the rows
// can take. Raises TError for a field of more than MaxImportFieldBytes.
class TTableImportReader {
public:
    TTableImportReader(char separator, int rows);

    // Takes the next piece of the text; returns false once every row is full
    // (the rest of the text is not wanted).
    bool feed(QByteArrayView piece);
    bool full() const { return m_fields.size() >= m_capacity; }
    // The complete fields so far, in order.
    const QStringList &fields() const { return m_fields; }

private:
    char m_separator;
    qsizetype m_capacity;
    QByteArray m_field;
    QStringList m_fields;
};

// The fields a table of `rows` object rows takes from text.
QStringList ImportFields(QByteArrayView text, char separator, int rows);

// The same from the file at path, read in pieces and no further than needed.
QStringList ReadImportFile(const QString &path, char separator, int rows);

// The object rows an import fills: the table's rows below the titles, at most
// MaxObjects (the position cache's size).
int ImportRowCount(const TObjectTable &table);

// Puts the fields into columns 1 to 10 of rows 1, 2, ...; column 0 and the
// rows after the last field keep their cells.
void PutImportedFields(TObjectTable &table, const QStringList &fields);

// Takes every row's "X-Axis" and "Y-Axis" into the position cache. A cell that
// is not a whole number leaves that row's cached value for its axis; the
// conversion error of the first such cell is returned.
std::optional<TError> TakeImportedPositions(TMapDocument &doc);
