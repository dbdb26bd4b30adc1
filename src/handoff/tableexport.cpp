#include "tableexport.h"
#include "fileio/fileio.h"
#include "document/numbers.h"
#include "document/objecttable.h"

char SeparatorFromCode(const QString &code, const QString &where)
{
    return char(std::uint8_t(StrToInt(code, where) & 0xFF));
}

QByteArray ExportTableText(const TObjectTable &table, char separator)
{
    QByteArray out;
    for (int row = 1; row < table.RowCount(); ++row) {
        for (int col = 1; col <= 10; ++col) {
            out += table.cell(col, row).toLatin1();
            out += separator;
        }
        out += "\r\n";
    }
    return out;
}

void ExportTable(const TObjectTable &table, const QString &workDir, const QString &separatorCode)
{
    const char separator = SeparatorFromCode(separatorCode, QStringLiteral("the separator code in Setup"));
    const QString path = workDir + QLatin1String(ExportFileName);
    writeWholeFile(path, ExportTableText(table, separator));
}
