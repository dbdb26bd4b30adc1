#include "windowkeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

TWindowKeys::TWindowKeys(QWidget *window) : QObject(window), m_window(window)
{
    qApp->installEventFilter(this);
}

bool TWindowKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    if (!(mods & Qt::ControlModifier) || (mods & Qt::AltModifier))
        return false;
    const bool shift = mods & Qt::ShiftModifier;
    std::function<void()> *command = nullptr;
    switch (key->key()) {
    case Qt::Key_Z: command = shift ? &redo : &undo; break;
    case Qt::Key_Y: command = shift ? nullptr : &redo; break;
    case Qt::Key_S: command = shift ? nullptr : &save; break;
    case Qt::Key_O: command = shift ? nullptr : &load; break;
    default: break;
    }
    if (!command || !*command)
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (widget->window() != m_window)
        return false;
    (*command)();
    return true;
}
