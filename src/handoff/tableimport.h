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

// How many fields a table text holds in all, so an import can say whether
// the file has one record per row. Past the rows, fields are only counted,
// and only while the text still looks like a table: the count ends at a
// stretch of more than MaxImportFieldBytes without a separator, after
// MaxCountedImportFields fields (more records than any table's 2000 rows)
// or MaxCountedImportBytes bytes.
struct TImportCount {
    qsizetype fields = 0;
    bool complete = true; // false: the text goes on after the fields counted
};
inline constexpr qsizetype MaxCountedImportFields = qsizetype(2000 + 1) * ImportFieldsPerRow;
inline constexpr qsizetype MaxCountedImportBytes = qsizetype(32) * 1024 * 1024;

// The reader, fed piece by piece so a file is read no further than the rows
// can take (or, when asked to, than the count of the fields past them can
// go). Raises TError for a field of more than MaxImportFieldBytes in the rows.
class TTableImportReader {
public:
    TTableImportReader(char separator, int rows, bool countPastRows = false);

    // Takes the next piece of the text; returns false once no more of the
    // text is wanted.
    bool feed(QByteArrayView piece);
    bool full() const { return m_fields.size() >= m_capacity; }
    bool wantsMore() const { return !full() || m_counting; }
    // The complete fields so far, in order.
    const QStringList &fields() const { return m_fields; }
    // The fields seen so far, the rows' and those counted past them; at the
    // end of the text, complete stays true unless the count ended early.
    TImportCount count() const { return {m_fields.size() + m_fieldsPast, m_countComplete}; }

private:
    bool countPastRows(char c);

    char m_separator;
    qsizetype m_capacity;
    QByteArray m_field;
    QStringList m_fields;
    bool m_counting;
    bool m_countComplete = true;
    qsizetype m_fieldsPast = 0;
    qsizetype m_stretch = 0;   // bytes since the last separator, past the rows
    qsizetype m_bytesPast = 0; // bytes read past the rows
};

// The fields a table of `rows` object rows takes from text.
QStringList ImportFields(QByteArrayView text, char separator, int rows);

// The same from the file at path, read in pieces and no further than needed.
// With count, the fields past the rows are counted as well.
QStringList ReadImportFile(const QString &path, char separator, int rows, TImportCount *count = nullptr);

// What the Info window says after an import of a text holding count's fields
// into a table of `rows` object rows: how many records were read into which
// rows, and, where the text does not hold one complete record per row (the
// usual sign of a line lost or added), a plain warning.
struct TImportReport {
    QString caption;
    QString line1;
    QString line2;
};
TImportReport ImportReport(const TImportCount &count, int rows);

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
