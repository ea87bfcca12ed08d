// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/qt/QtLoopHooks.h"

#include <QEventLoop>
#include <QTimer>

LoopHooks QtLoopHooks(QObject* context)
{
    LoopHooks hooks;
    hooks.runFor = [](int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    };
    hooks.post = [context](std::function<void()> action) { QTimer::singleShot(0, context, std::move(action)); };
    return hooks;
}
