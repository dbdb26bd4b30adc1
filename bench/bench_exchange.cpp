// Export and Import of a table of 2000 objects with their markers on the map:
// median milliseconds of each, as the two buttons run them (file written
// whole; file read, cells, position cache, marker colours and places).
#include "ui/dialogs.h"
#include "document/mapdocument.h"
#include "handoff/tableexchange.h"
#include "handoff/tableexport.h"
#include "settings/infowindow.h"
#include "settings/settings.h"
#include "terrain/mapviewpanel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <random>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Confirms every open dialog with one file; errors are printed.
class TBenchDialogs : public TDialogs {
public:
    QString answer;
    bool failed = false;
    bool openFile(QWidget *, TFileRequest &request) override
    {
        request.fileName = answer;
        return true;
    }
    bool saveFile(QWidget *, TFileRequest &) override { return false; }
    QString chooseDirectory(QWidget *, const QString &) override { return QString(); }
    void showError(QWidget *, const QString &text) override
    {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
        failed = true;
    }
    int ask(QWidget *, const TQuestion &question) override { return question.defaultButton; }
};

// The Info window raises itself at every export; the offscreen platform says
// at each that it cannot, which would bury the figures.
QtMessageHandler standardHandler = nullptr;
void quietRaise(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message != QLatin1String("This plugin does not support raise()"))
        standardHandler(type, context, message);
}

} // namespace

int main(int argc, char **argv)
{
    standardHandler = qInstallMessageHandler(quietRaise);
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const int n = TMapDocument::MaxObjects;
    const int runs = 31;

    QWidget host;
    host.resize(1000, 600);
    TMapDocument doc;
    TBenchDialogs dialogs;
    TMapViewPanel panel(&host, doc, dialogs);
    TForm6 info(&host);
    TTableExchange exchange(doc, panel, dialogs, info, &host);

    std::mt19937 rnd(482);
    const int items[] = {1001, 2001, 3001, 4076, 5001, 6002, 7001};
    doc.Table.setRowCount(n + 1);
    doc.ObjectCount = n;
    for (int row = 1; row <= n; ++row) {
        TObjectTable::Row cells;
        const std::int32_t values[] = {row, 0, items[rnd() % 7], 0, int(rnd() % 67108864), -int(rnd() % 67108864),
                                       int(rnd() % 1000), int(rnd() % 360), 0, int(rnd() % 50), 0};
        for (int c = 0; c < TObjectTable::ColumnCount; ++c)
            cells[c] = QString::number(values[c]);
        cells[TObjectTable::ColName] = QStringLiteral("Item name");
        doc.Table.setRowCells(row, cells);
        doc.ObjectX[row - 1] = values[TObjectTable::ColX];
        doc.ObjectY[row - 1] = values[TObjectTable::ColY];
        panel.Markers.createForRow(row);
    }

    TSettings settings;
    settings.WorkDir = dir.path() + u'/';
    settings.SeparatorCode = QStringLiteral("59");
    dialogs.answer = settings.WorkDir + QLatin1String(ExportFileName);

    std::vector<double> exportMs, textMs, importMs;
    for (int run = 0; run < runs && !dialogs.failed; ++run) {
        QElapsedTimer t;
        t.start();
        exchange.ExportTable(settings);
        exportMs.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        const QByteArray text = ExportTableText(doc.Table, ';');
        textMs.push_back(t.nsecsElapsed() / 1e6);
        if (text.isEmpty())
            return 1;

        t.restart();
        exchange.ImportTable(settings.WorkDir, settings.SeparatorCode);
        importMs.push_back(t.nsecsElapsed() / 1e6);
    }
    if (dialogs.failed)
        return 1;
    std::printf("table of %d rows with their markers, median of %d runs\n", n, runs);
    std::printf("  export (text, export.txt written whole):       %.2f ms (target <= 10 ms)\n", median(exportMs));
    std::printf("    of which building the text:                   %.2f ms (the rest is the safe save)\n",
                median(textMs));
    std::printf("  import (file, cells, cache, markers, MoveView): %.2f ms (target <= 10 ms)\n", median(importMs));
    return 0;
}
