#pragma once
// The object table as a separated text file (export.txt): one line per table
// row, columns 1 to 10, each field followed by the separator, CR LF line ends.
// Cell texts are written byte for byte, without quoting.

#include <QByteArray>
#include <QString>

class TObjectTable;

inline constexpr const char *ExportFileName = "export.txt";

// The separator character of a decimal code text ("59" gives ';'); only the
// code's low byte counts. Raises the conversion error for a code that is not a number.
char SeparatorFromCode(const QString &code, const QString &where = QString());

QByteArray ExportTableText(const TObjectTable &table, char separator);

// Writes dir + "export.txt" whole.
void ExportTable(const TObjectTable &table, const QString &workDir, const QString &separatorCode);
