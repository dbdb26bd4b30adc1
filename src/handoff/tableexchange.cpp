#include "tableexchange.h"
#include "ui/dialogs.h"
#include "journal/journalstep.h"
#include "document/mapdocument.h"
#include "document/numbers.h"
#include "settings/infowindow.h"
#include "settings/settings.h"
#include "tableexport.h"
#include "tableimport.h"
#include "terrain/mapviewpanel.h"

#include <algorithm>

TTableExchange::TTableExchange(TMapDocument &document, TMapViewPanel &view, TDialogs &dialogs, TForm6 &info,
                               QWidget *window)
    : m_document(document), m_view(view), m_dialogs(dialogs), m_info(info), m_window(window)
{
}

bool TTableExchange::ExportTable(const TSettings &settings)
{
    return runGuarded(m_dialogs, m_window, [&] {
        ::ExportTable(m_document.Table, settings.WorkDir, settings.SeparatorCode);
        m_info.ShowInfoMessage(QStringLiteral("Export OK"),
                               QStringLiteral("Ok, the Table is exported to \"export.txt\" in the Work-Dir."),
                               QString());
    });
}

bool TTableExchange::ImportTable(const QString &workDir, const QString &separatorCode)
{
    return runGuarded(m_dialogs, m_window, [&] {
        TFileRequest open;
        open.filter = QStringLiteral("VLMR DataList (*.txt)|*.txt");
        open.initialDir = workDir;
        open.fileName = workDir + QLatin1String(ExportFileName);
        open.fileMustExist = true;
        if (!m_dialogs.openFile(m_window, open))
            return;
        const char separator = SeparatorFromCode(separatorCode, QStringLiteral("the separator code in Setup"));
        const int rows = ImportRowCount(m_document.Table);
        TImportCount count;
        const QStringList fields = ReadImportFile(open.fileName, separator, rows, &count);

        TJournalStep step(m_document, QStringLiteral("Import"));
        PutImportedFields(m_document.Table, fields);
        // A position that does not convert is reported once every other
        // marker stands where its row's cells say.
        const std::optional<TError> badPosition = TakeImportedPositions(m_document);
        refreshMarkers();
        m_view.MoveView(0, 0, true, 0);
        // Records are matched to rows by their order: a line lost or added
        // in the file puts every later record on another object, so the
        // count is said, and a difference is warned of.
        const TImportReport report = ImportReport(count, rows);
        m_info.ShowInfoMessage(report.caption, report.line1, report.line2);
        if (badPosition)
            throw *badPosition;
    });
}

void TTableExchange::refreshMarkers()
{
    const int count = std::min(m_document.ObjectCount, int(TMapDocument::MaxObjects));
    for (int row = 1; row <= count; ++row) {
        TMarker *marker = m_view.Markers[row];
        if (!marker)
            continue;
        if (const auto item = parseInt32(m_document.Table.cell(TObjectTable::ColObject, row))) {
            m_document.Table.setAdded(row, false);
            TMarkerLayer::ApplyCategoryColour(marker, *item);
        }
        marker->setHint(m_document.Table.cell(TObjectTable::ColName, row));
    }
    m_view.C_10Click();
}
