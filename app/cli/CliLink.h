// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One engine driven from the command line on the Qt event loop.
#include <QEventLoop>
#include <QTimer>
#include <iostream>
#include <optional>

#include "core/State.h"
#include "link/DoctorTexts.h"
#include "link/RadioLink.h"
#include "link/qt/QtLinkClock.h"
#include "link/qt/PlatformSerialPort.h"
#include "settings/Language.h"

// Drives the engine the way the window does and stops its event loop as
// soon as the outcome is known (with `untilReady`, once a write would also
// take the next start), or when the "window" closes. A failure's message
// goes to stderr.
class CliLink : public TLinkView {
public:
    CliLink(const LinkJob& job, const LinkWindowPolicy& policy) : link_(job, policy, port_, clock_, *this) {}
    ~CliLink() override { link_.Close(); }

    TRadioLink& Link() { return link_; }

    // Opens the port of the settings; false when it cannot.
    bool Open() { return link_.Open(ALL.ComPort, {ALL.BaudRate, ALL.IdentString}); }
    // The outcome of the last operation, once it is known.
    const std::optional<LinkOutcome>& Outcome() const { return outcome_; }
    // One operation: true when it succeeded.
    bool Run(bool untilReady)
    {
        outcome_.reset();
        untilReady_ = untilReady;
        link_.Start();
        if (!Done())
            loop_.exec();
        return outcome_ && outcome_->result == LinkResult::Succeeded;
    }

    void Finished(const LinkOutcome& outcome) override
    {
        outcome_ = outcome;
        if (outcome.result == LinkResult::Failed) {
            std::cerr << MessageText(outcome) << '\n';
            if (LineFailure(outcome.failure))
                std::cerr << DoctorText("RunDoctor") << '\n';
        }
        Check();
    }
    void EnableOk(bool) override { Check(); }
    void CloseWindow() override
    {
        closed_ = true;
        Check();
    }

private:
    bool Done() const
    {
        if (closed_)
            return true;
        if (!outcome_)
            return false;
        return outcome_->result != LinkResult::Succeeded || !untilReady_ || link_.OkEnabled();
    }
    // Decides after the engine's handler has returned: the write goes on
    // after its outcome (end frame, Ok enabled 300 ms later).
    void Check()
    {
        QTimer::singleShot(0, &loop_, [this] {
            if (Done())
                loop_.quit();
        });
    }

    TPlatformSerialPort port_;
    TQtLinkClock clock_;
    TRadioLink link_;
    QEventLoop loop_;
    std::optional<LinkOutcome> outcome_;
    bool untilReady_ = false;
    bool closed_ = false;
};
