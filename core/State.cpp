// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/State.h"

TMacList MacList;
TALL ALL;
TFrqList FrqList;
