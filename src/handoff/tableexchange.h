#pragma once
// TTableExchange: the main window's Export and Import commands. Export writes
// the object table to WorkDir + "export.txt"; Import reads a chosen separated
// table into the existing rows and brings the position cache and the markers
// in step with the imported cells, and reports what it read. Both run as
// guarded commands: an error is shown in the standard error box.

#include <QString>

class QWidget;
class TDialogs;
class TForm6;
class TMapDocument;
class TMapViewPanel;
struct TSettings;

class TTableExchange {
public:
    // window: the main window, parent of the file dialog and the error box;
    // info: the Info window that reports a finished export or import.
    TTableExchange(TMapDocument &document, TMapViewPanel &view, TDialogs &dialogs, TForm6 &info,
                   QWidget *window);

    // B_Export: the table's cells as they stand, with the stored separator
    // code. Returns false when it stopped with an error.
    bool ExportTable(const TSettings &settings);
    // B_Import: separatorCode is the Setup dialog's code field as it stands,
    // which after a "Cancel" may differ from the stored setting. The Info
    // window then says how many records were read into how many rows.
    bool ImportTable(const QString &workDir, const QString &separatorCode);

private:
    // Colour, hint and filter visibility of every marker from its row's cells.
    void refreshMarkers();

    TMapDocument &m_document;
    TMapViewPanel &m_view;
    TDialogs &m_dialogs;
    TForm6 &m_info;
    QWidget *m_window;
};
