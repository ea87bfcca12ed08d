// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The connection doctor: looks at the machine the way a helper on the phone
// would (is there a cable, may this user open it, does another program hold
// it or take it away, is the chosen port the cable) and says what it found
// and what to do. Every check stands on its own; one that cannot look says
// so as a finding. The line to the radio is tested by the LineProbe.
#include <optional>
#include <string>
#include <vector>

#include "link/DoctorDevices.h"
#include "link/PortNames.h"
#include "link/SystemView.h"

enum class Severity { Ok, Warning, Problem };

struct Finding {
    Severity severity = Severity::Ok;
    std::string id;   // which check found it ("no-cable", "permission", ...)
    std::string what; // in the current language
    std::string fix;  // what to do; empty when nothing is to be done
};

struct DoctorRequest {
    PortMapping mapping;       // the settings' mapping with this run's on top
    std::string chosenPort;    // "COM1"
    bool chosenByUser = false; // named with --port or --device for this run
};

struct DoctorReport {
    std::vector<SerialDevice> devices;
    std::vector<Finding> findings;
    bool couldRun = true;
    // The port whose line may be tested, and its device; nothing when there
    // is none or it must not be opened.
    std::optional<int> probePort;
    std::string probeDevice;

    bool HasProblem() const;
};

DoctorReport Examine(TSystemView& system, const DoctorRequest& request);

// "ok", "warning", "problem".
const char* SeverityName(Severity severity);
// The mark the user sees, in the current language.
std::string SeverityMark(Severity severity);
