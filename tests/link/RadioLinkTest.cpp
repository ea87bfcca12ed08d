// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>

#include "LinkBench.h"
#include "image/Image.h"
#include "image/Stamp.h"

TEST_F(Link, CompleteReadSendsEveryFrameInOrderAndReplacesTheDocument)
{
    Bench b(kReadJob);
    const SettingDefault& row = NormalisedSettings()[0];
    b.radio.memory[0x175] = 0xF1;      // band 200 - 260MHz
    b.radio.memory[row.offset] = 0xFF; // out of range: normalised
    const auto before = ALL.Image;
    b.Open();
    EXPECT_EQ(b.port.openedNumber, 3);
    EXPECT_EQ(b.port.openedBaud, 4800);
    EXPECT_EQ(b.view.maximum, 27);
    b.Start();
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
    b.Open();
    b.clock.waits.clear();
    long start = b.clock.now;
    b.Start();
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
    read.Open();
    read.clock.waits.clear();
    read.Start();
    // The wake-up frame: 51 polls of 20 ms, then the read goes on regardless.
    EXPECT_EQ(std::count(read.clock.waits.begin(), read.clock.waits.end(), 20), 51);

    Bench write(kWriteJob);
    write.port.queuedPollsAfterWrite = 3;
    write.Open();
    write.clock.waits.clear();
    write.Start();
    EXPECT_EQ(write.clock.waits, (std::vector<int>{450, 50, 30, 50, 50, 50}));
}

TEST_F(Link, PortAboveNineDrawsItsTagFromEToIForEachOperation)
{
    ALL.ComPort = "COM12";
    std::set<uint8_t> tags;
    for (unsigned seed = 0; seed < 20; ++seed) {
        Bench b(kReadJob);
        b.link.SeedTagChoice(seed);
        b.Open();
        b.Start();
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
        b.Open();
        b.Start();
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
    b.Open();
    b.Start();
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
        {"short data reply",
         [](const Bytes& f, Bytes& r) {
             if (Describe(f) == Block('R', 9))
                 r.resize(19);
             return true;
         },
         kComError, 1500 + 300},
        {"no 06 after a block",
         [](const Bytes& f, Bytes& r) {
             if (f == Bytes{kAck} && r.size() == 1)
                 r = {0x15};
             return true;
         },
         kComError, 1500 + 300},
        {"reply longer than the buffer",
         [](const Bytes& f, Bytes& r) {
             if (Describe(f) == "identify")
                 r.resize(60, 0x06);
             return true;
         },
         kComError, 1500 + 2500 + 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        const auto before = ALL.Image;
        ALL.Modified = false;
        Bench b(kReadJob);
        b.radio.tamper = c.tamper;
        b.Open();
        b.Start();
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
    b.Open();
    b.Start();
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
    auto wrongTag = [](const Bytes& f, Bytes& r) {
        if (Describe(f) == "identify")
            r[6] ^= 0x01;
        return true;
    };
    const std::vector<Case> cases = {
        {"wrong exchanged tag", "QV30", wrongTag, kComError},
        {"wrong tag and unknown model", "XX99", wrongTag, kComError},
        {"unknown model", "qv30", nullptr, "Model Type Wrong."},
        {"wrong response byte", "QV30",
         [](const Bytes& f, Bytes& r) {
             if (Describe(f) == "ident-block")
                 r[0] ^= 0xFF;
             return true;
         },
         kComError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        Bench b(Job());
        b.radio.modelCode = c.model;
        b.radio.tamper = c.tamper;
        b.Open();
        b.Start();
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
    b.Open();
    b.Start();
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
        EXPECT_FALSE(b.Open());
        ASSERT_TRUE(b.RunUntilClosed());
        EXPECT_EQ(b.clock.now, 50 + 300);
        EXPECT_TRUE(b.port.sent.empty());
        EXPECT_EQ(messages.texts(), std::vector<std::string>{"Cannot Open Communication Port."});
    }
}

TEST_P(Handshake, PortFailingAtTheStartKeepsTheWindowOpenWithOkDisabled)
{
    Bench b(Job());
    b.Open();
    b.port.flushFails = true;
    b.Start();
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
    b.Open();
    b.Start();
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

INSTANTIATE_TEST_SUITE_P(ReadAndWrite, Handshake, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Write" : "Read"; });

TEST_F(Link, ReadLineErrorReportsOnceAfterTheBlockTimeOutEvenWhenErrorsRepeat)
{
    Bench b(kReadJob);
    b.Open();
    b.Start();
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
