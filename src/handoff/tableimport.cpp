#include "tableimport.h"
#include "fileio/fileio.h"
#include "document/mapdocument.h"
#include "document/numbers.h"

#include <algorithm>

namespace {

QString separatorName(char separator)
{
    const auto code = std::uint8_t(separator);
    if (code > 0x20 && code < 0x7F)
        return QStringLiteral("\"%1\" (code %2)").arg(QLatin1Char(separator)).arg(code);
    return QStringLiteral("of code %1").arg(code);
}

} // namespace

TTableImportReader::TTableImportReader(char separator, int rows, bool countPastRows)
    : m_separator(separator), m_capacity(qsizetype(std::max(rows, 0)) * ImportFieldsPerRow),
      m_counting(countPastRows)
{
}

bool TTableImportReader::countPastRows(char c)
{
    ++m_bytesPast;
    if (c == m_separator) {
        ++m_fieldsPast;
        m_stretch = 0;
    } else if (c != '\r' && c != '\n') {
        ++m_stretch;
    }
    if (m_stretch > MaxImportFieldBytes || m_bytesPast > MaxCountedImportBytes
        || m_fields.size() + m_fieldsPast >= MaxCountedImportFields) {
        m_counting = false;
        m_countComplete = false;
    }
    return m_counting;
}

bool TTableImportReader::feed(QByteArrayView piece)
{
    for (const char c : piece) {
        if (full()) {
            if (!m_counting || !countPastRows(c))
                return false;
            continue;
        }
        if (c == m_separator) {
            m_fields.append(QString::fromLatin1(m_field));
            m_field.resize(0);
            continue;
        }
        // Line ends are skipped wherever they stand, so they are no part of
        // the stretch: a table padded with blank lines is still a table.
        if (c == '\r' || c == '\n')
            continue;
        if (m_field.size() >= MaxImportFieldBytes) {
            const qsizetype k = m_fields.size();
            throw TError(QStringLiteral("More than %1 bytes without the separator %2 at %3: the file is no "
                                        "table separated this way")
                             .arg(MaxImportFieldBytes)
                             .arg(separatorName(m_separator),
                                  TObjectTable::cellName(int(k % ImportFieldsPerRow) + 1,
                                                         int(k / ImportFieldsPerRow) + 1)));
        }
        m_field.append(c);
    }
    return wantsMore();
}

QStringList ImportFields(QByteArrayView text, char separator, int rows)
{
    TTableImportReader reader(separator, rows);
    reader.feed(text);
    return reader.fields();
}

QStringList ReadImportFile(const QString &path, char separator, int rows, TImportCount *count)
{
    TTableImportReader reader(separator, rows, count != nullptr);
    QFile file;
    openForReading(file, path);
    QByteArray piece(64 * 1024, Qt::Uninitialized);
    try {
        while (reader.wantsMore()) {
            const qint64 n = file.read(piece.data(), piece.size());
            if (n < 0)
                throw TError(Msg::StreamRead);
            if (n == 0)
                break;
            reader.feed(QByteArrayView(piece.constData(), n));
        }
    } catch (const TError &e) {
        throw e.at(path);
    }
    if (count)
        *count = reader.count();
    return reader.fields();
}

namespace {

QString counted(qsizetype n, const char *one)
{
    return QStringLiteral("%1 %2%3").arg(n).arg(QLatin1String(one), QLatin1String(n == 1 ? "" : "s"));
}

// "12 records", "11 records and 4 fields", "4 fields".
QString fieldsAsRecords(qsizetype fields)
{
    const qsizetype records = fields / ImportFieldsPerRow;
    const qsizetype rest = fields % ImportFieldsPerRow;
    if (rest == 0)
        return counted(records, "record");
    if (records == 0)
        return counted(rest, "field");
    return counted(records, "record") + QStringLiteral(" and ") + counted(rest, "field");
}

} // namespace

TImportReport ImportReport(const TImportCount &count, int rows)
{
    const qsizetype wanted = qsizetype(std::max(rows, 0)) * ImportFieldsPerRow;
    const qsizetype read = std::min(count.fields, wanted);
    const qsizetype rowsRead = (read + ImportFieldsPerRow - 1) / ImportFieldsPerRow;
    const bool one = read == 1 || read == ImportFieldsPerRow;
    const QString readText = fieldsAsRecords(read) + (one ? QStringLiteral(" was read") : QStringLiteral(" were read"));
    if (count.complete && count.fields == wanted)
        return {QStringLiteral("Import OK"),
                QStringLiteral("%1 into the table's %2.").arg(readText, counted(rows, "row")), QString()};

    TImportReport report;
    report.caption = QStringLiteral("Attention!");
    // A count that ended early knows only where the file stops looking like a table.
    report.line1 = (count.complete ? QStringLiteral("The file holds %1, the table %2!")
                                   : QStringLiteral("The file goes on after %1, the table has %2!"))
                       .arg(fieldsAsRecords(count.fields), counted(rows, "row"));
    if (rowsRead == 0)
        report.line2 = QStringLiteral("No record was read: no row changed.");
    else if (rowsRead == 1)
        report.line2 = QStringLiteral("%1 into row 1.").arg(readText);
    else
        report.line2 = QStringLiteral("%1 into rows 1 to %2.").arg(readText).arg(rowsRead);
    return report;
}

int ImportRowCount(const TObjectTable &table)
{
    return std::min(table.RowCount() - 1, int(TMapDocument::MaxObjects));
}

void PutImportedFields(TObjectTable &table, const QStringList &fields)
{
    const int rows = int((fields.size() + ImportFieldsPerRow - 1) / ImportFieldsPerRow);
    for (int row = 1; row <= rows && row <= ImportRowCount(table); ++row) {
        TObjectTable::Row cells = table.rowCells(row);
        const qsizetype first = qsizetype(row - 1) * ImportFieldsPerRow;
        const qsizetype last = std::min(first + ImportFieldsPerRow, fields.size());
        for (qsizetype k = first; k < last; ++k)
            cells[1 + (k - first)] = fields[k];
        table.setRowCells(row, cells);
    }
}

std::optional<TError> TakeImportedPositions(TMapDocument &doc)
{
    std::optional<TError> first;
    const auto take = [&](int col, int row, std::int32_t &cached) {
        const QString text = doc.Table.cell(col, row);
        if (const auto v = parseInt32(text))
            cached = *v;
        else if (!first)
            first = TError::notAnInteger(text, TObjectTable::cellName(col, row));
    };
    for (int row = 1; row <= ImportRowCount(doc.Table); ++row) {
        take(TObjectTable::ColX, row, doc.ObjectX[row - 1]);
        take(TObjectTable::ColY, row, doc.ObjectY[row - 1]);
    }
    return first;
}
