// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>

#include "LinkBench.h"
#include "image/Image.h"
#include "image/Stamp.h"

TEST_F(Link, EachOperationEndsWithExactlyOneOutcome)
{
    Bench b(kWriteJob);
    ASSERT_TRUE(b.Open());
    b.Start();
    ASSERT_TRUE(b.clock.Run([&] { return b.view.okEnabled; }));
    // A device failing between operations is reported once, as a failure
    // of its own.
    b.port.LineErrorAt(b.clock.now);
    b.RunFor(5000);
    b.port.LineErrorAt(b.clock.now);
    b.RunFor(5000);
    // A cancel ends the next write without a word to the radio or the user.
    b.Start();
    b.clock.Run([&] { return b.port.sent.size() >= 40; });
    b.link.Cancel();
    b.link.Close();
    b.RunFor(10000);
    EXPECT_EQ(b.port.sent.size(), 40u);
    ASSERT_EQ(b.view.outcomes.size(), 3u);
    EXPECT_EQ(b.view.outcomes[0].result, LinkResult::Succeeded);
    EXPECT_EQ(OutcomeMessage(b.view.outcomes[0]), &TLanguage::WriteOk);
    EXPECT_EQ(b.view.outcomes[1].result, LinkResult::Failed);
    EXPECT_EQ(OutcomeMessage(b.view.outcomes[1]), &TLanguage::ComError);
    EXPECT_EQ(b.view.outcomes[2].result, LinkResult::Cancelled);
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Writing Completed.", Language.ComError}));
}

TEST_F(Link, TwoEnginesOnTwoPortsRunSideBySide)
{
    // As two windows on one event loop: the events of the two exchanges
    // alternate, each engine on its own port, clock and view.
    Bench first(kReadJob), second(kWriteJob);
    ASSERT_TRUE(first.Open("COM5"));
    ASSERT_TRUE(second.Open("COM12"));
    first.Start();
    second.Start();
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
    EXPECT_EQ(OutcomeMessage(first.view.outcomes[0]), &TLanguage::ReadOk);
    EXPECT_EQ(OutcomeMessage(second.view.outcomes[0]), &TLanguage::WriteOk);
    EXPECT_TRUE(first.link.ReadSucceeded());
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
    b.Open();
    EXPECT_EQ(b.view.maximum, 24);
    std::string before = NowStampText();
    b.Start();
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
    b.Start();
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
    b.Open();
    b.Start();
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
    b.Open();
    b.Start();
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
    b.Open();
    b.Start();
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
    b.Open();
    b.Start();
    b.port.LineErrorAt(b.clock.now + 10); // before xTimer
    b.RunFor(20000);
    EXPECT_EQ(b.Frames(), std::vector<std::string>{"PROGRAM61"});
    EXPECT_EQ(messages.texts(), std::vector<std::string>{kComError});
}
