// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The link's timers on QTimer, and its waits as a plain sleep of the
// user-interface thread: nothing else runs during a wait, and bytes that
// arrive meanwhile are announced afterwards.
#include <QObject>
#include <QTimer>
#include <map>
#include <memory>

#include "link/LinkClock.h"

class TQtLinkClock : public QObject, public TLinkClock {
    Q_OBJECT
public:
    explicit TQtLinkClock(QObject* parent = nullptr);
    ~TQtLinkClock() override;
    void Wait(int ms) override;

protected:
    void Schedule(uint64_t id, int ms, std::function<void()> fired) override;
    void Cancel(uint64_t id) override;

private:
    std::map<uint64_t, std::unique_ptr<QTimer>> timers_;
};
