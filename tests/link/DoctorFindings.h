// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Looking up the doctor's findings by id, for the tests of its views.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "link/Doctor.h"

// The finding a check made; fails the test when there is none.
inline Finding Found(const DoctorReport& report, const std::string& id)
{
    for (const Finding& f : report.findings)
        if (f.id == id)
            return f;
    ADD_FAILURE() << "no finding " << id;
    return {};
}

inline bool Has(const DoctorReport& report, const std::string& id)
{
    return std::any_of(report.findings.begin(), report.findings.end(), [&](const Finding& f) { return f.id == id; });
}
