// SPDX-License-Identifier: GPL-3.0-or-later
// This computer's facts on Linux: its disk as sysfs and udev describe it.
#include "link/MachineId.h"

const MachineFacts& ThisMachine()
{
    static const MachineFacts facts = ReadMachineFacts("/");
    return facts;
}
