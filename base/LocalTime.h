// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The local time of a moment through the system's thread-safe call (the
// plain std::localtime shares one result between threads).
#include <ctime>

// False when the system cannot express `when` in local time; `out` is then
// left as it was.
bool LocalTime(std::time_t when, std::tm& out);
