// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/qt/QtLinkClock.h"

#include <QThread>

TQtLinkClock::TQtLinkClock(QObject* parent) : QObject(parent)
{
    for (size_t i = 0; i < timers_.size(); ++i) {
        QTimer& t = timers_[i];
        t.setSingleShot(true);
        t.setTimerType(Qt::PreciseTimer);
        LinkTimer which = static_cast<LinkTimer>(i);
        connect(&t, &QTimer::timeout, this, [this, which] {
            if (Listener())
                Listener()->TimerFired(which);
        });
    }
}

void TQtLinkClock::Start(LinkTimer timer, int ms)
{
    timers_[static_cast<size_t>(timer)].start(ms);
}

void TQtLinkClock::Stop(LinkTimer timer)
{
    timers_[static_cast<size_t>(timer)].stop();
}

void TQtLinkClock::Wait(int ms)
{
    QThread::msleep(static_cast<unsigned long>(ms));
}
