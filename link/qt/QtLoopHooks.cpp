// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/qt/QtLoopHooks.h"

#include <QTimer>

PostAfter QtPostAfter(QObject* context)
{
    return [context](int ms, std::function<void()> action) {
        QTimer::singleShot(ms, Qt::PreciseTimer, context, std::move(action));
    };
}
