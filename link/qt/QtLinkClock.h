// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The link's timers on QTimer, and its waits as a plain sleep of the
// user-interface thread: nothing else runs during a wait, and bytes that
// arrive meanwhile are announced afterwards.
#include <QObject>
#include <QTimer>
#include <array>

#include "link/LinkClock.h"

class TQtLinkClock : public QObject, public TLinkClock {
    Q_OBJECT
public:
    explicit TQtLinkClock(QObject* parent = nullptr);
    void Start(LinkTimer timer, int ms) override;
    void Stop(LinkTimer timer) override;
    void Wait(int ms) override;

private:
    std::array<QTimer, kLinkTimerCount> timers_;
};
