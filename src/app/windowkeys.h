#pragma once
// TWindowKeys: the main window's command keys, wherever the focus is in it
// (the table and its in-place editor, the search field, the map-name box):
// Ctrl+Z undo, Ctrl+Y and Ctrl+Shift+Z redo, Ctrl+S save, Ctrl+O load. It
// watches the key presses of the whole application and takes only these,
// only for widgets of its window, before a line edit takes Ctrl+Z as its own.

#include <QObject>
#include <functional>

class QWidget;

class TWindowKeys : public QObject {
    Q_OBJECT
public:
    explicit TWindowKeys(QWidget *window);

    std::function<void()> undo;
    std::function<void()> redo;
    std::function<void()> save;
    std::function<void()> load;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
};
