#pragma once

#include <QObject>

class QKeyEvent;

// Application-wide events: reports every key pressed in the program's
// windows before the focused control sees it. Keys meant for a modal dialog
// (a message box, a file dialog) are not reported.
class ApplicationEvents : public QObject
{
    Q_OBJECT
public:
    explicit ApplicationEvents(QObject *parent = nullptr);

signals:
    // The key goes on to the focused control afterwards.
    void shortCut(QKeyEvent *key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
