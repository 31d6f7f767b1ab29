#pragma once
// Ends the process as soon as its first window has been shown and painted, so that the time a
// whole process takes is the time to its first window on screen.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

class ShownProbe : public QObject {
public:
    explicit ShownProbe(QCoreApplication &application) { application.installEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The window paints while its expose event is handled; the queued exit runs after that.
        if (event->type() == QEvent::Expose && watched->isWindowType() && static_cast<QWindow *>(watched)->isExposed())
            QTimer::singleShot(0, [] {
                std::fflush(nullptr);
                std::_Exit(0);   // what follows the first window is not timed
            });
        return false;
    }
};
