// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/qt/QtLinkClock.h"

#include <QThread>

TQtLinkClock::TQtLinkClock(QObject* parent) : QObject(parent) {}

TQtLinkClock::~TQtLinkClock() = default;

void TQtLinkClock::Schedule(uint64_t id, int ms, std::function<void()> fired)
{
    auto timer = std::make_unique<QTimer>();
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    connect(timer.get(), &QTimer::timeout, this, [this, id, fired = std::move(fired)]() mutable {
        // The QTimer goes once its signal has been delivered; the call may
        // start and stop timers of this clock meanwhile.
        auto it = timers_.find(id);
        if (it == timers_.end())
            return;
        it->second.release()->deleteLater();
        timers_.erase(it);
        std::function<void()> call = std::move(fired);
        call();
    });
    timer->start(ms);
    timers_[id] = std::move(timer);
}

void TQtLinkClock::Cancel(uint64_t id)
{
    timers_.erase(id);
}

void TQtLinkClock::Wait(int ms)
{
    QThread::msleep(static_cast<unsigned long>(ms));
}
