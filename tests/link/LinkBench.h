// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The link engine on a bench: a scripted radio, a fake port and clock, and
// the fixture every link test starts from.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "FakeLink.h"
#include "TestSupport.h"
#include "core/State.h"
#include "document/RadioContents.h"
#include "link/RadioLink.h"
#include "link/SafeWrite.h"

// What the windows give the engines: the settings, and the document to write.
inline LinkSettings DocumentSettings()
{
    return {ALL.BaudRate, ALL.IdentString};
}
inline WriteDocument DocumentToWrite()
{
    return {DocumentContents(), FrqList.CodeOf(ALL.BandText)};
}

// One window's worth of link: the engine between a scripted radio and a
// fake clock, driven as the read and write windows drive it: on the
// document and the settings. The window closes when the engine asks it to.
struct Bench {
    explicit Bench(const LinkJob& job)
        : job(job), link(job, &job == &kWriteJob ? kWriteWindow : kReadWindow, port, clock, view)
    {
        view.onOutcome = [this](const LinkOutcome& outcome) {
            if (outcome.write)
                TakeWriteMarksIntoDocument(outcome.bytes);
            else if (outcome.result == LinkResult::Succeeded)
                TakeReadIntoDocument(link.ReceivedModelCode(), outcome.bytes);
        };
    }
    const LinkJob& job;
    FakeClock clock;
    FakePort port{clock};
    FakeRadio radio{port};
    FakeLinkView view;
    TRadioLink link;

    bool Open(const std::string& portName = ALL.ComPort)
    {
        return link.Open(portName, {ALL.BaudRate, ALL.IdentString});
    }
    void Start()
    {
        if (job.requestCarriesData)
            link.Start(ALL.Image, ALL.ModelCode, FrqList.CodeOf(ALL.BandText));
        else
            link.Start();
    }

    bool RunUntilClosed(long limitMs = 60000)
    {
        bool closed = clock.Run([this] { return view.closes > 0; }, limitMs);
        if (closed)
            link.Close();
        return closed;
    }
    void RunFor(long ms)
    {
        clock.Run([] { return false; }, ms);
    }
    std::vector<std::string> Frames() const
    {
        std::vector<std::string> names;
        for (const SentFrame& f : port.sent)
            names.push_back(Describe(f.bytes));
        return names;
    }
    const SentFrame* Find(const std::string& name) const
    {
        for (const SentFrame& f : port.sent)
            if (Describe(f.bytes) == name)
                return &f;
        return nullptr;
    }
};

class Link : public ::testing::Test {
protected:
    TempDir dir;
    MessageRecorder messages;
    void SetUp() override
    {
        StartFresh(dir.path().string());
        StartFirstDocument();
        ALL.ComPort = "COM3";
    }
};

inline std::string Block(char command, int block)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%c%04X", command, block * 16);
    return buf;
}

inline std::vector<std::string> HandshakeFrames(const std::string& program)
{
    return {"PROGRAM61", program, "identify", "ident-block"};
}

inline const std::string kComError = "Please check all connections and communication port settings.";
