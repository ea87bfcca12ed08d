// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Qt event loop as a shared-loop port reaches it.
#include <QObject>

#include "link/SharedLoop.h"

// Posted calls go through the loop and are dropped once `context` is gone.
PostAfter QtPostAfter(QObject* context);
