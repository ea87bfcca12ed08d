// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The doctor's view of a Windows machine. Windows has none of the files,
// device nodes and groups the doctor reads on Linux; it reads Device
// Manager's devices, the COM map and the port itself instead.
#include "link/SystemView.h"
#include "link/win/WinMachine.h"

class TWinSystemView : public TEmptySystemView {
public:
    TWinMachineView* WindowsMachine() override { return &machine_; }

private:
    TWinMachine machine_;
};
