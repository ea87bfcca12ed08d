// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Qt event loop as a shared-loop port's clock reaches it.
#include <QObject>

#include "link/SharedLoop.h"

// Pauses run a nested event loop; posted calls go through the loop and are
// dropped once `context` is gone.
LoopHooks QtLoopHooks(QObject* context);
