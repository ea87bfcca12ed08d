// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/radio-sim/LinePacer.h"

#include <algorithm>

std::vector<SimTime> LinePacer::Schedule(size_t count, SimTime now)
{
    std::vector<SimTime> done;
    done.reserve(count);
    SimTime at = std::max(now, lineFreeAt_);
    for (size_t i = 0; i < count; ++i) {
        at += byteTime_;
        done.push_back(at);
    }
    lineFreeAt_ = at;
    return done;
}
