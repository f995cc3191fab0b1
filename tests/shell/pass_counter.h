#pragma once
// Counts event-processing passes: each delivery posts the next event, which Qt delivers in the
// following pass. Shows that a wait keeps the windows' events running.
#include <QCoreApplication>
#include <QEvent>
#include <QObject>

class PassCounter : public QObject {
public:
    int passes = 0;
    void arm() { QCoreApplication::postEvent(this, new QEvent(QEvent::User)); }
    ~PassCounter() override { QCoreApplication::removePostedEvents(this); }
    bool event(QEvent* e) override
    {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        ++passes;
        arm();
        return true;
    }
};
