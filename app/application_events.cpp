#include "app/application_events.h"

#include <QApplication>
#include <QKeyEvent>

ApplicationEvents::ApplicationEvents(QObject *parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

bool ApplicationEvents::eventFilter(QObject *watched, QEvent *event)
{
    // A key press reaches its window once, then the focused widget and, while
    // nobody accepts it, that widget's parents: taking it at the window
    // reports each press once.
    if (event->type() == QEvent::KeyPress && watched->isWindowType()
        && !QApplication::activeModalWidget())
        emit shortCut(static_cast<QKeyEvent *>(event));
    return false;
}
