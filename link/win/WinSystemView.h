// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The doctor's view of a Windows machine. Windows has none of the files,
// device nodes and groups the doctor reads on Linux, so for now the doctor
// sees an empty machine here: no devices, nothing it could blame, and it
// says only what the port itself answers.
#include "link/SystemView.h"

class TWinSystemView : public TEmptySystemView {};
