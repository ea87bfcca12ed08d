// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>

#include "FakeLink.h"
#include "TestSupport.h"
#include "core/State.h"
#include "image/Image.h"
#include "image/Stamp.h"
#include "link/RadioLink.h"

namespace {

// One window's worth of link: the engine between a scripted radio and a
// fake clock. The window closes when the engine asks it to.
struct Bench {
    explicit Bench(const LinkJob& job) : link(job, port, clock, view) {}
    FakeClock clock;
    FakePort port{clock};
    FakeRadio radio{port};
    FakeLinkView view;
    TRadioLink link;

    bool RunUntilClosed(long limitMs = 60000)
    {
        bool closed = clock.Run([this] { return view.closes > 0; }, limitMs);
        if (closed)
            link.Close();
        return closed;
    }
    void RunFor(long ms) { clock.Run([] { return false; }, ms); }
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

std::string Block(char command, int block)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%c%04X", command, block * 16);
    return buf;
}

std::vector<std::string> HandshakeFrames(const std::string& program)
{
    return {"PROGRAM61", program, "identify", "ident-block"};
}

const std::string kComError = "Please check all connections and communication port settings.";

} // namespace

TEST_F(Link, CompleteReadSendsEveryFrameInOrderAndReplacesTheDocument)
{
    Bench b(kReadJob);
    const SettingDefault& row = NormalisedSettings()[0];
    b.radio.memory[0x175] = 0xF1;                          // band 200 - 260MHz
    b.radio.memory[row.offset] = 0xFF;                     // out of range: normalised
    const auto before = ALL.Image;
    b.link.Open();
    EXPECT_EQ(b.port.openedNumber, 3);
    EXPECT_EQ(b.port.openedBaud, 4800);
    EXPECT_EQ(b.view.maximum, 27);
    b.link.Start();
    EXPECT_FALSE(b.view.okEnabled);
    ASSERT_TRUE(b.RunUntilClosed());

    std::vector<std::string> expected = HandshakeFrames("PROGRAM63");
    expected.push_back("ack");
    for (int n = 0; n < 27; ++n) {
        expected.push_back(Block('R', n));
        expected.push_back("ack");
    }
    expected.push_back("end");
    EXPECT_EQ(b.Frames(), expected);
    EXPECT_EQ(b.port.sent[0].bytes, Bytes(kWakeUpFrame.begin(), kWakeUpFrame.end()));
    EXPECT_EQ(b.port.sent[3].bytes.size(), 16u);

    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Reading Completed."});
    EXPECT_TRUE(b.link.ReadSucceeded());
    EXPECT_TRUE(ALL.Modified);
    EXPECT_EQ(b.view.progress, 27);
    EXPECT_FALSE(b.port.open);
    EXPECT_EQ(ALL.BandText, "200 - 260MHz");
    EXPECT_EQ(ALL.Image[0x175], 0xF1);
    EXPECT_EQ(GetBitField(ALL.Image[row.offset], row.mask, 0xFF, 0xFF), row.defaultValue);
    std::set<size_t> normalised = {0x156, 0x157};
    for (const SettingDefault& r : NormalisedSettings())
        normalised.insert(r.offset);
    for (size_t i = 0; i < 0x1B0; ++i) {
        if (normalised.count(i))
            continue;
        ASSERT_EQ(ALL.Image[i], b.radio.memory[i]) << "offset " << i;
    }
    for (size_t i = 0x1B0; i < 0x1C0; ++i)
        EXPECT_EQ(ALL.Image[i], 0x00) << "offset " << i;
    for (size_t i = 0x1C0; i < kImageSize; ++i)
        ASSERT_EQ(ALL.Image[i], before[i]) << "offset " << i;
    EXPECT_EQ(b.view.log.front(), "Tx-  50 52 4F 47 52 41 4D 61");
    EXPECT_EQ(b.view.log[1], "Rx- 06 ");
}

TEST_F(Link, ReadTakesExactlyThePrescribedWaitsAndTimers)
{
    Bench b(kReadJob);
    b.radio.replyDelayMs = 0;
    b.link.Open();
    b.clock.waits.clear();
    long start = b.clock.now;
    b.link.Start();
    ASSERT_TRUE(b.RunUntilClosed());
    // 450 + 50 before the wake-up frame, 30 before each of 60 frames, 5
    // before the identify request; the program request follows xTimer.
    EXPECT_EQ(b.clock.WaitedInTotal(), 450 + 50 + 60 * 30 + 5);
    EXPECT_EQ(b.port.sent[1].time - b.port.sent[0].time, 200 + 30);
    EXPECT_EQ(b.clock.now - start, 450 + 50 + 60 * 30 + 5 + 200 + 300);
}

TEST_F(Link, DrainWaitPollsTheTransmitQueueAndGivesUp)
{
    Bench read(kReadJob);
    read.port.queuedPollsAfterWrite = 1000; // a queue that never drains
    read.link.Open();
    read.clock.waits.clear();
    read.link.Start();
    // The wake-up frame: 51 polls of 20 ms, then the read goes on regardless.
    EXPECT_EQ(std::count(read.clock.waits.begin(), read.clock.waits.end(), 20), 51);

    Bench write(kWriteJob);
    write.port.queuedPollsAfterWrite = 3;
    write.link.Open();
    write.clock.waits.clear();
    write.link.Start();
    EXPECT_EQ(write.clock.waits, (std::vector<int>{450, 50, 30, 50, 50, 50}));
}

TEST_F(Link, PortAboveNineDrawsItsTagFromEToIForEachOperation)
{
    ALL.ComPort = "COM12";
    std::set<uint8_t> tags;
    for (unsigned seed = 0; seed < 20; ++seed) {
        Bench b(kReadJob);
        b.link.SeedTagChoice(seed);
        b.link.Open();
        b.link.Start();
        ASSERT_TRUE(b.RunUntilClosed());
        uint8_t tag = b.port.sent[1].bytes.back();
        EXPECT_GE(tag, 0x65);
        EXPECT_LE(tag, 0x69);
        tags.insert(tag);
    }
    EXPECT_GT(tags.size(), 1u);
    EXPECT_EQ(messages.texts(), std::vector<std::string>(20, "Reading Completed."));
}

TEST_F(Link, ProgramAcknowledgeMayComeSecondButNotFromAnEarlierReply)
{
    {
        Bench b(kReadJob);
        b.radio.tamper = [](const Bytes& frame, Bytes& reply) {
            if (Describe(frame) == "PROGRAM63")
                reply = {0x15, 0x06};
            return true;
        };
        b.link.Open();
        b.link.Start();
        ASSERT_TRUE(b.RunUntilClosed());
        EXPECT_EQ(messages.texts(), std::vector<std::string>{"Reading Completed."});
    }
    // The wake-up reply leaves 06 at byte 1; a one-byte refusal to the
    // program request must not pass for an acknowledge.
    messages.shown.clear();
    Bench b(kReadJob);
    b.radio.tamper = [](const Bytes& frame, Bytes& reply) {
        if (Describe(frame) == "PROGRAM61")
            reply = {0x06, 0x06};
        else if (Describe(frame) == "PROGRAM63")
            reply = {0x15};
        return true;
    };
    b.link.Open();
    b.link.Start();
    ASSERT_TRUE(b.RunUntilClosed());
    EXPECT_EQ(b.Frames(), (std::vector<std::string>{"PROGRAM61", "PROGRAM63"}));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{kComError});
}

TEST_F(Link, ReadFailuresLeaveTheImageAsItWas)
{
    struct Case {
        const char* name;
        std::function<bool(const Bytes&, Bytes&)> tamper;
        std::string message;
        long closeAfterLastFrame; // fake ms from the last frame to the close
    };
    const std::vector<Case> cases = {
        {"silent at block 5", [](const Bytes& f, Bytes&) { return Describe(f) != Block('R', 5); }, kComError,
         1500 + 300},
        {"short data reply", [](const Bytes& f, Bytes& r) { if (Describe(f) == Block('R', 9)) r.resize(19); return true; },
         kComError, 1500 + 300},
        {"no 06 after a block", [](const Bytes& f, Bytes& r) { if (f == Bytes{kAck} && r.size() == 1) r = {0x15}; return true; },
         kComError, 1500 + 300},
        {"reply longer than the buffer",
         [](const Bytes& f, Bytes& r) { if (Describe(f) == "identify") r.resize(60, 0x06); return true; }, kComError,
         1500 + 2500 + 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        const auto before = ALL.Image;
        ALL.Modified = false;
        Bench b(kReadJob);
        b.radio.tamper = c.tamper;
        b.link.Open();
        b.link.Start();
        ASSERT_TRUE(b.RunUntilClosed());
        EXPECT_EQ(messages.texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(b.clock.now - b.port.sent.back().time, c.closeAfterLastFrame);
        EXPECT_NE(b.Frames().back(), "end");
        EXPECT_TRUE(ALL.Image == before);
        EXPECT_FALSE(ALL.Modified);
        EXPECT_FALSE(b.link.ReadSucceeded());
        EXPECT_FALSE(b.port.open);
    }
}

TEST_F(Link, DataReplyHeaderIsNotCompared)
{
    Bench b(kReadJob);
    b.radio.tamper = [](const Bytes& f, Bytes& r) {
        if (r.size() == 20 && f[0] == kReadCommand)
            r[0] = r[1] = r[2] = r[3] = 0xEE;
        return true;
    };
    b.link.Open();
    b.link.Start();
    ASSERT_TRUE(b.RunUntilClosed());
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Reading Completed."});
    EXPECT_EQ(ALL.Image[0x020], b.radio.memory[0x020]);
}

// The handshake is the same for both directions, and so are its failures.
class Handshake : public Link, public ::testing::WithParamInterface<bool> {
protected:
    const LinkJob& Job() const { return GetParam() ? kWriteJob : kReadJob; }
};

TEST_P(Handshake, EachRejectedStepEndsWithTheEndFrameAndOneMessage)
{
    struct Case {
        const char* name;
        std::string model;
        std::function<bool(const Bytes&, Bytes&)> tamper;
        std::string message;
    };
    auto wrongTag = [](const Bytes& f, Bytes& r) { if (Describe(f) == "identify") r[6] ^= 0x01; return true; };
    const std::vector<Case> cases = {
        {"wrong exchanged tag", "QV30", wrongTag, kComError},
        {"wrong tag and unknown model", "XX99", wrongTag, kComError},
        {"unknown model", "qv30", nullptr, "Model Type Wrong."},
        {"wrong response byte",
         "QV30", [](const Bytes& f, Bytes& r) { if (Describe(f) == "ident-block") r[0] ^= 0xFF; return true; },
         kComError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        Bench b(Job());
        b.radio.modelCode = c.model;
        b.radio.tamper = c.tamper;
        b.link.Open();
        b.link.Start();
        ASSERT_TRUE(b.RunUntilClosed());
        EXPECT_EQ(b.Frames().back(), "end");
        EXPECT_EQ(messages.texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(b.clock.now - b.port.sent.back().time, 300);
        EXPECT_EQ(b.radio.writesReceived, 0);
    }
}

TEST_P(Handshake, SilenceReportsAfterTheTimeOutAndAFurtherWait)
{
    Bench b(Job());
    b.radio.tamper = [](const Bytes& f, Bytes&) { return Describe(f) != "identify"; };
    b.link.Open();
    b.link.Start();
    ASSERT_TRUE(b.RunUntilClosed());
    EXPECT_EQ(b.Frames().back(), "identify");
    EXPECT_EQ(b.clock.now - b.port.sent.back().time, 1500 + 2500 + 300);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{kComError});
}

TEST_P(Handshake, PortThatDoesNotOpenReportsAndCloses)
{
    for (const char* name : {"COM4", "COMX"}) {
        SCOPED_TRACE(name);
        messages.shown.clear();
        ALL.ComPort = name;
        Bench b(Job());
        b.port.openFails = true;
        EXPECT_FALSE(b.link.Open());
        ASSERT_TRUE(b.RunUntilClosed());
        EXPECT_EQ(b.clock.now, 50 + 300);
        EXPECT_TRUE(b.port.sent.empty());
        EXPECT_EQ(messages.texts(), std::vector<std::string>{"Cannot Open Communication Port."});
    }
}

TEST_P(Handshake, PortFailingAtTheStartKeepsTheWindowOpenWithOkDisabled)
{
    Bench b(Job());
    b.link.Open();
    b.port.flushFails = true;
    b.link.Start();
    b.RunFor(10000);
    EXPECT_EQ(b.view.closes, 0);
    EXPECT_FALSE(b.view.okEnabled);
    EXPECT_TRUE(b.port.sent.empty());
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Cannot Open Communication Port."});
}

TEST_P(Handshake, CancelAbandonsTheExchangeSilently)
{
    const auto before = ALL.Image;
    Bench b(Job());
    b.link.Open();
    b.link.Start();
    b.clock.Run([&] { return b.port.sent.size() >= 20; });
    b.link.Close();
    b.RunFor(10000);
    EXPECT_FALSE(b.port.open);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(b.port.sent.size(), 20u);
    if (!GetParam()) {
        EXPECT_TRUE(ALL.Image == before);
    }
}

TEST_F(Link, EachOperationEndsWithExactlyOneOutcome)
{
    Bench b(kWriteJob);
    ASSERT_TRUE(b.link.Open());
    b.link.Start();
    ASSERT_TRUE(b.clock.Run([&] { return b.view.okEnabled; }));
    // A device failing between operations is reported once, as a failure
    // of its own.
    b.port.LineErrorAt(b.clock.now);
    b.RunFor(5000);
    b.port.LineErrorAt(b.clock.now);
    b.RunFor(5000);
    // A cancel ends the next write without a word to the radio or the user.
    b.link.Start();
    b.clock.Run([&] { return b.port.sent.size() >= 40; });
    b.link.Cancel();
    b.link.Close();
    b.RunFor(10000);
    EXPECT_EQ(b.port.sent.size(), 40u);
    ASSERT_EQ(b.view.outcomes.size(), 3u);
    EXPECT_EQ(b.view.outcomes[0].result, LinkResult::Succeeded);
    EXPECT_EQ(b.view.outcomes[0].message, &TLanguage::WriteOk);
    EXPECT_EQ(b.view.outcomes[1].result, LinkResult::Failed);
    EXPECT_EQ(b.view.outcomes[1].message, &TLanguage::ComError);
    EXPECT_EQ(b.view.outcomes[2].result, LinkResult::Cancelled);
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Writing Completed.", Language.ComError}));
}

TEST_F(Link, TwoEnginesOnTwoPortsRunSideBySide)
{
    // As two windows on one event loop: the events of the two exchanges
    // alternate, each engine on its own port, clock and view.
    Bench first(kReadJob), second(kWriteJob);
    ASSERT_TRUE(first.link.Open("COM5"));
    ASSERT_TRUE(second.link.Open("COM12"));
    first.link.Start();
    second.link.Start();
    auto oneEvent = [](Bench& b) {
        size_t sent = b.port.sent.size();
        b.clock.Run([&] { return b.port.sent.size() > sent || !b.view.outcomes.empty(); });
    };
    for (int turn = 0; turn < 100 && (first.view.outcomes.empty() || second.view.outcomes.empty()); ++turn) {
        oneEvent(first);
        oneEvent(second);
    }
    EXPECT_EQ(first.port.openedNumber, 5);
    EXPECT_EQ(second.port.openedNumber, 12);
    EXPECT_EQ(Describe(first.port.sent[1].bytes), "PROGRAM65");
    EXPECT_GE(second.port.sent[1].bytes.back(), 0x65);
    EXPECT_EQ(first.Frames().size(), 4u + 1 + 27 * 2 + 1);
    EXPECT_EQ(second.radio.writesReceived, 25);
    ASSERT_EQ(first.view.outcomes.size(), 1u);
    ASSERT_EQ(second.view.outcomes.size(), 1u);
    EXPECT_EQ(first.view.outcomes[0].message, &TLanguage::ReadOk);
    EXPECT_EQ(second.view.outcomes[0].message, &TLanguage::WriteOk);
    EXPECT_TRUE(first.link.ReadSucceeded());
}

INSTANTIATE_TEST_SUITE_P(ReadAndWrite, Handshake, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Write" : "Read"; });

TEST_F(Link, ReadLineErrorReportsOnceAfterTheBlockTimeOutEvenWhenErrorsRepeat)
{
    Bench b(kReadJob);
    b.link.Open();
    b.link.Start();
    b.clock.Run([&] { return b.port.sent.size() >= 12; });
    long at = b.clock.now + 1;
    for (int i = 0; i < 20; ++i)
        b.port.LineErrorAt(at + i * 100); // a device that keeps failing
    b.radio.tamper = [](const Bytes&, Bytes&) { return false; };
    b.clock.Run([&] { return !messages.shown.empty(); });
    EXPECT_EQ(b.clock.now - at, 1500);
    ASSERT_TRUE(b.RunUntilClosed());
    EXPECT_EQ(messages.texts(), std::vector<std::string>{kComError});
    EXPECT_FALSE(b.link.ReadSucceeded());
}

TEST_F(Link, CompleteWriteSendsTheImageStampedWithModelAndTime)
{
    ALL.ComPort = "COM12";
    ALL.Modified = false;
    ALL.ModelCode = "QV30";
    SelectModel("QV30", 0xF2, true);
    for (size_t i = 0x10; i < 0x110; ++i)
        ALL.Image[i] = static_cast<uint8_t>(i);
    ALL.Image[0x170] = 0; // the write puts the model block back
    Bench b(kWriteJob);
    b.link.Open();
    EXPECT_EQ(b.view.maximum, 24);
    std::string before = NowStampText();
    b.link.Start();
    ASSERT_TRUE(b.clock.Run([&] { return b.view.okEnabled; }));
    std::string after = NowStampText();

    std::vector<std::string> expected = HandshakeFrames(Describe(b.port.sent[1].bytes));
    expected.push_back("ack");
    for (int n = 0; n < 25; ++n)
        expected.push_back(Block('W', n));
    expected.push_back("end");
    EXPECT_EQ(b.Frames(), expected);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Writing Completed."});
    EXPECT_EQ(b.view.progress, 0);
    EXPECT_EQ(b.view.closes, 0);
    EXPECT_FALSE(ALL.Modified);

    for (size_t i = 0; i < 0x190; ++i)
        ASSERT_EQ(b.radio.memory[i], ALL.Image[i]) << "offset " << i;
    EXPECT_EQ(b.radio.memory[0x190], (0x190 * 7 + 3) & 0xFF); // never sent
    EXPECT_EQ(Bytes(ALL.Image.begin() + 0x170, ALL.Image.begin() + 0x178),
              (Bytes{'P', 'Q', 'V', '3', '0', 0xF2, 0, 0}));
    std::string stamp = FormatStamp(&ALL.Image[0x180]);
    EXPECT_GE(stamp, before);
    EXPECT_LE(stamp, after);

    // The next radio: the same window, a fresh exchange.
    FakeRadio second(b.port);
    b.link.Start();
    ASSERT_TRUE(b.clock.Run([&] { return b.view.okEnabled; }));
    EXPECT_EQ(second.writesReceived, 25);
    EXPECT_EQ(messages.texts(), std::vector<std::string>(2, "Writing Completed."));
}

TEST_F(Link, WriteStampsTheModelBlockEvenWhenTheRadioNeverAnswers)
{
    SelectModel("QV30", 0xF0, true);
    ALL.Image[0x171] = 'x';
    Bench b(kWriteJob);
    b.radio.tamper = [](const Bytes&, Bytes&) { return false; };
    b.link.Open();
    b.link.Start();
    ASSERT_TRUE(b.RunUntilClosed());
    EXPECT_EQ(Bytes(ALL.Image.begin() + 0x170, ALL.Image.begin() + 0x176), (Bytes{'P', 'Q', 'V', '3', '0', 0xF0}));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{kComError});
}

TEST_F(Link, WriteRefusedAtABlockReEnablesOkAndClosesAfterTheTimeOut)
{
    Bench b(kWriteJob);
    b.radio.tamper = [](const Bytes& f, Bytes& r) {
        if (Describe(f) == Block('W', 7))
            r = {0x15};
        return true;
    };
    b.link.Open();
    b.link.Start();
    ASSERT_TRUE(b.RunUntilClosed());
    EXPECT_EQ(b.Frames().back(), Block('W', 7));
    EXPECT_EQ(b.clock.now - b.port.sent.back().time, 1500 + 300);
    EXPECT_TRUE(b.view.okEnabled);
    EXPECT_EQ(b.radio.writesReceived, 8);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{kComError});
}

TEST_F(Link, WriteLineErrorReportsAtOnceAndStopsTheExchange)
{
    Bench b(kWriteJob);
    b.link.Open();
    b.link.Start();
    b.clock.Run([&] { return b.port.sent.size() >= 10; });
    b.port.LineErrorAt(b.clock.now);
    b.port.LineErrorAt(b.clock.now + 1);
    b.RunFor(20000);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{kComError});
    EXPECT_EQ(b.view.closes, 0);
    EXPECT_FALSE(b.view.okEnabled);
    EXPECT_EQ(b.port.sent.size(), 10u);
    EXPECT_EQ(b.link.Step(), LinkStep::Idle);
}

TEST_F(Link, LineErrorWhileTheRadioWakesSendsNothingMore)
{
    Bench b(kWriteJob);
    b.link.Open();
    b.link.Start();
    b.port.LineErrorAt(b.clock.now + 10); // before xTimer
    b.RunFor(20000);
    EXPECT_EQ(b.Frames(), std::vector<std::string>{"PROGRAM61"});
    EXPECT_EQ(messages.texts(), std::vector<std::string>{kComError});
}
