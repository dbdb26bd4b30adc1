#pragma once
// The main window's editing units around a map of objects, offscreen: the map
// window, the table and the editing of both, laid out as the main window lays
// them out, with the mouse and the keys sent as the window system sends them.

#include "benchsupport.h"

#include "catalogue/itemcatalogue.h"
#include "editing/mouseediting.h"
#include "editing/objectgrid.h"
#include "editing/objectlistediting.h"
#include "editing/tableediting.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>

// Dialogs: what answers the units' questions and file requests.
template <class Dialogs = TPrintingDialogs>
struct TBenchWorld {
    QWidget host;
    TMapDocument document;
    Dialogs dialogs;
    TMapViewPanel panel{&host, document, dialogs};
    TObjectGrid grid{document.Table, &host};
    TItemCatalogue catalogue;
    TTableEditing editing{document, panel, grid, catalogue, dialogs, &host};
    TMouseEditing mouse{document, panel, grid, dialogs, &host};
    TObjectListEditing objects{document, panel, grid, catalogue, dialogs, &host};
    QWidget *map = panel.Panel1->viewport();

    explicit TBenchWorld(int count = TMapDocument::MaxObjects)
    {
        layOutObjects(host, grid, document, panel, count);
    }

    // Shown, and the active window where the window system lets it be.
    void show()
    {
        host.show();
        host.activateWindow();
        for (int i = 0; i < 100 && QApplication::activeWindow() != &host; ++i)
            QApplication::processEvents();
    }

    // From the map as loaded on, the views follow an undo or a redo as the
    // main window makes them.
    void followUndo()
    {
        document.Journal.clear();
        QObject::connect(&document, &TMapDocument::tableChanged, &host, [this] {
            panel.followDocument();
            if (grid.currentRow() != document.CurrentRow)
                grid.setCurrentCellQuietly(std::max(grid.currentCol(), 0), document.CurrentRow);
        });
    }

    void sendMouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent e(type, QPointF(at), map->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(map, &e);
    }
    void press(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        sendMouse(QEvent::MouseButtonPress, at, button, button);
    }
    void moveHeld(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        sendMouse(QEvent::MouseMove, at, Qt::NoButton, button);
    }
    void release(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        sendMouse(QEvent::MouseButtonRelease, at, button, Qt::NoButton);
    }

    // Starts editing (col, row) by typing text into it; the editor it opened.
    QWidget *startTyping(int col, int row, const QString &text)
    {
        grid.closeCellEditor();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        grid.setFocus();
        grid.moveTo(col, row);
        sendKey(&grid, text[0].unicode(), text.left(1));
        QWidget *editor = QApplication::focusWidget();
        for (QChar c : text.mid(1))
            sendKey(editor, c.unicode(), QString(c));
        return editor;
    }
};
