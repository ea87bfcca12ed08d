// SPDX-License-Identifier: GPL-3.0-or-later
// The doctor's line test against the simulated radio, its faults and its
// echo, on the scripted port and clock: what the probe sends, how long it
// listens and what it makes of the answer.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "link/FakeLink.h"
#include "link/LineProbe.h"
#include "link/LinkFrames.h"
#include "tools/radio-sim/SimulatedRadio.h"

namespace {

class LineProbe : public ::testing::Test {
protected:
    TempDir dir;
    FakeClock clock;
    FakePort port{clock};
    std::optional<SimulatedRadio> radio;

    void SetUp() override { StartFresh(dir.path().string()); }

    // The probe of COM1 against a radio with these faults, played until it
    // reports.
    ProbeOutcome Probe(RadioFaults faults)
    {
        radio.emplace(RadioMemory{}, "QV30", faults);
        port.onWrite = [this](const Bytes& frame) {
            RadioReply reply = radio->Receive(frame, std::chrono::milliseconds(clock.now));
            if (!reply.bytes.empty())
                port.Arrive(reply.bytes, 20);
        };
        TLineProbe probe(port, clock);
        int reports = 0;
        probe.Start(1, [&](const ProbeOutcome&) { ++reports; });
        EXPECT_TRUE(clock.Run([&] { return probe.Done(); }));
        EXPECT_EQ(reports, 1);
        EXPECT_FALSE(port.open);
        return probe.Outcome();
    }

    // Everything the probe put on the line, joined.
    Bytes Sent() const
    {
        Bytes all;
        for (const SentFrame& f : port.sent)
            all.insert(all.end(), f.bytes.begin(), f.bytes.end());
        return all;
    }
};

TEST_F(LineProbe, AReadyRadioGetsTheFirstThreeFramesOfARead)
{
    ProbeOutcome o = Probe({});
    EXPECT_EQ(o.result, ProbeResult::Ready);
    EXPECT_EQ(o.received, (Bytes{kAck, kAck}));
    EXPECT_EQ(o.identReply.size(), static_cast<size_t>(kIdentReplyLength));
    EXPECT_EQ(port.openedBaud, 4800);
    ASSERT_EQ(port.sent.size(), 4u);
    EXPECT_EQ(port.sent[0].bytes, Bytes(kWakeUpFrame.begin(), kWakeUpFrame.end()));
    EXPECT_EQ(port.sent[1].bytes, Bytes({'P', 'R', 'O', 'G', 'R', 'A', 'M', 'a'})); // COM1's tag
    EXPECT_EQ(port.sent[1].time - port.sent[0].time, IntervalOf(LinkTimer::xTimer) + kWaitBeforeFrame);
    EXPECT_EQ(port.sent[2].bytes, Bytes{kIdentifyRequest});
    // It stops soon after the identification and ends the session with the
    // end frame: the radio is idle before the next program can speak.
    EXPECT_EQ(port.sent[3].bytes, Bytes{kEndFrame});
    EXPECT_LT(clock.now - port.sent[2].time, 500);
    radio->Tick(std::chrono::milliseconds(port.sent[3].time) + SimulatedRadio::kLoneEndGap +
                std::chrono::milliseconds(1));
    EXPECT_FALSE(radio->SessionDeadline());
    EXPECT_EQ(ProbeFinding(o, "COM1 (/dev/ttyUSB0)").id, "line-ready");
}

TEST_F(LineProbe, SilenceEchoAndNoiseAreToldApart)
{
    RadioFaults silent;
    silent.silentAt = ExchangePoint{ExchangePoint::Kind::Program, 0};
    ProbeOutcome o = Probe(silent);
    EXPECT_EQ(o.result, ProbeResult::Silent);
    // It waited the whole answer time, and no longer.
    EXPECT_EQ(clock.now - port.sent[1].time, TLineProbe::kAnswerTimeMs);
    Finding f = ProbeFinding(o, "COM1 (/dev/ttyUSB0)");
    EXPECT_EQ(f.severity, Severity::Problem);
    EXPECT_NE(f.what.find("the radio is switched off"), std::string::npos);

    RadioFaults echo;
    echo.echo = true;
    port.sent.clear();
    o = Probe(echo);
    EXPECT_EQ(o.result, ProbeResult::Echo);
    EXPECT_EQ(o.received, Sent());
    EXPECT_NE(ProbeFinding(o, "COM1").fix.find("Push the plug fully"), std::string::npos);

    RadioFaults noise;
    noise.noiseAt = ExchangePoint{ExchangePoint::Kind::Program, 0};
    o = Probe(noise);
    EXPECT_EQ(o.result, ProbeResult::OtherBytes);
    EXPECT_EQ(HexBytes(o.received), "00 FF 55 06 00 FF 55 06");
    EXPECT_NE(ProbeFinding(o, "COM1").what.find("00 FF 55 06 00 FF 55 06"), std::string::npos);
}

TEST_F(LineProbe, AnotherRadioIsToldByItsIdentification)
{
    RadioFaults wrongTag;
    wrongTag.wrongTag = true;
    ProbeOutcome o = Probe(wrongTag);
    EXPECT_EQ(o.result, ProbeResult::WrongTag);
    EXPECT_EQ(ProbeFinding(o, "COM1").id, "line-wrong-tag");

    // An acknowledge with no identification after it is no radio a read can use.
    RadioFaults mute;
    mute.silentAt = ExchangePoint{ExchangePoint::Kind::Ident, 0};
    o = Probe(mute);
    EXPECT_EQ(o.result, ProbeResult::NoIdent);
    EXPECT_EQ(ProbeFinding(o, "COM1").severity, Severity::Problem);

    RadioFaults unknown;
    unknown.unknownModel = true;
    o = Probe(unknown);
    EXPECT_EQ(o.result, ProbeResult::OtherModel);
    Finding f = ProbeFinding(o, "COM1");
    EXPECT_EQ(f.severity, Severity::Problem);
    EXPECT_NE(f.what.find("(" + std::string(o.identReply.begin() + 1, o.identReply.begin() + 5) + ")"),
              std::string::npos)
        << f.what;
}

TEST_F(LineProbe, APortThatDoesNotOpenAndACableThatEchoesARadio)
{
    port.openFails = true;
    TLineProbe probe(port, clock);
    std::optional<ProbeOutcome> reported;
    probe.Start(1, [&](const ProbeOutcome& o) { reported = o; });
    ASSERT_TRUE(reported);
    EXPECT_EQ(reported->result, ProbeResult::OpenFailed);
    EXPECT_TRUE(port.sent.empty());
    EXPECT_EQ(ProbeFinding(*reported, "COM1 (/dev/ttyUSB0)").what, "COM1 (/dev/ttyUSB0) cannot be opened.");

    // Some cables echo and the radio answers between the echoes.
    Bytes sent = {'P', 'R', 'O', 'P', 'R'};
    ProbeOutcome o = InterpretReply(sent, {'P', 'R', 'O', kAck, 'P', 'R', kAck});
    EXPECT_EQ(o.result, ProbeResult::Ready);
    EXPECT_TRUE(o.echoed);
    EXPECT_EQ(InterpretReply(sent, {'P', 'R', 0x41}).result, ProbeResult::OtherBytes);
}

} // namespace
