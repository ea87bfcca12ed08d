// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/LocalTime.h"

bool LocalTime(std::time_t when, std::tm& out)
{
    std::tm local{};
    if (localtime_s(&local, &when) != 0)
        return false;
    out = local;
    return true;
}
