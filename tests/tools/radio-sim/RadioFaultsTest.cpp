// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "HostScript.h"

namespace {
using Kind = ExchangePoint::Kind;

SimulatedRadio FaultyRadio(const RadioFaults& faults)
{
    return SimulatedRadio(PatternMemory(), "QV30", faults);
}
}

TEST(RadioFaults, IdentificationReplyFaults)
{
    RadioFaults tag;
    tag.wrongTag = true;
    SimulatedRadio wrongTag = FaultyRadio(tag);
    Host a(wrongTag);
    a.Reply(Program('a'));
    a.Reply(Program('c'));
    Bytes ident = a.Reply({0x02});
    ASSERT_EQ(ident.size(), 16u);
    EXPECT_NE(ident[6], 0x36);
    EXPECT_EQ(std::string(ident.begin() + 1, ident.begin() + 5), "QV30");

    // Tag 0x66 reads the same with its nibbles exchanged: still wrong.
    a.Reply({'E'});
    a.now += SimulatedRadio::kFrameGap + 100ms;
    a.Reply(Program('f'));
    EXPECT_NE(a.Reply({0x02}).at(6), 0x66);

    RadioFaults model;
    model.unknownModel = true;
    SimulatedRadio unknownModel = FaultyRadio(model);
    Host b(unknownModel);
    b.Reply(Program('a'));
    b.Reply(Program('c'));
    ident = b.Reply({0x02});
    ASSERT_EQ(ident.size(), 16u);
    EXPECT_EQ(std::string(ident.begin() + 1, ident.begin() + 5), kUnknownModelCode);
    EXPECT_EQ(ident[6], 0x36) << "only the model code is wrong";

    RadioFaults response;
    response.wrongResponse = true;
    SimulatedRadio wrongResponse = FaultyRadio(response);
    Host c(wrongResponse);
    c.Reply(Program('a'));
    c.Reply(Program('c'));
    c.Reply({0x02});
    Bytes auth = c.SendIdent();
    ASSERT_EQ(auth.size(), 1u);
    EXPECT_NE(auth[0], c.expected);
}

TEST(RadioFaults, SilenceAtEachStep)
{
    auto silentAt = [](ExchangePoint point) {
        RadioFaults f;
        f.silentAt = point;
        return f;
    };
    {
        SimulatedRadio radio = FaultyRadio(silentAt({Kind::Program, 0}));
        Host host(radio);
        EXPECT_TRUE(host.Reply(Program('a')).empty());
        EXPECT_TRUE(host.Reply(Program('c')).empty());
    }
    {
        SimulatedRadio radio = FaultyRadio(silentAt({Kind::Ident, 0}));
        Host host(radio);
        EXPECT_EQ(host.Reply(Program('c')), Bytes{0x06});
        EXPECT_TRUE(host.Reply({0x02}).empty());
    }
    {
        SimulatedRadio radio = FaultyRadio(silentAt({Kind::Auth, 0}));
        Host host(radio);
        host.Reply(Program('c'));
        EXPECT_EQ(host.Reply({0x02}).size(), 16u);
        EXPECT_TRUE(host.SendIdent().empty());
    }
    {
        SimulatedRadio radio = FaultyRadio(silentAt({Kind::Ack, 1}));
        Host host(radio);
        ASSERT_TRUE(host.Handshake());
        EXPECT_EQ(host.Reply({0x06}), Bytes{0x06}) << "acknowledge 0";
        EXPECT_EQ(host.Reply(ReadRequest(0)).size(), 20u);
        EXPECT_TRUE(host.Reply({0x06}).empty()) << "acknowledge 1";
    }
    {
        SimulatedRadio radio = FaultyRadio(silentAt({Kind::Block, 3}));
        Host host(radio);
        ASSERT_TRUE(host.Handshake());
        host.Reply({0x06});
        EXPECT_EQ(host.Reply(ReadRequest(2)).size(), 20u);
        EXPECT_TRUE(host.Reply(ReadRequest(3)).empty());
        EXPECT_TRUE(host.Reply(WriteRequest(3, 0x00)).empty());
        EXPECT_EQ(BlockOf(radio.Memory(), 3), BlockOf(PatternMemory(), 3)) << "an unheard write stores nothing";
    }
}

TEST(RadioFaults, ShortReplyRefusedWriteAndHangUp)
{
    RadioFaults f;
    f.shortReplyBlock = 5;
    f.refuseWriteBlock = 7;
    SimulatedRadio radio = FaultyRadio(f);
    Host host(radio);
    ASSERT_TRUE(host.Handshake());
    host.Reply({0x06});
    EXPECT_EQ(host.Reply(ReadRequest(4)).size(), 20u);
    Bytes cut = host.Reply(ReadRequest(5));
    EXPECT_GT(cut.size(), 0u);
    EXPECT_LT(cut.size(), 20u);
    EXPECT_EQ(host.Reply(WriteRequest(6, 0x66)), Bytes{0x06});
    EXPECT_EQ(host.Reply(WriteRequest(7, 0x77)), Bytes{0x15});
    EXPECT_EQ(BlockOf(radio.Memory(), 7), BlockOf(PatternMemory(), 7));
    EXPECT_EQ(host.Reply(WriteRequest(8, 0x88)), Bytes{0x06});

    RadioFaults h;
    h.hangUpAfterBlock = 2;
    SimulatedRadio writer = FaultyRadio(h);
    Host w(writer);
    ASSERT_TRUE(w.Handshake());
    w.Reply({0x06});
    EXPECT_FALSE(w.Send(WriteRequest(1, 0x11)).hangUp);
    // The reply goes out, then the line is closed; what the host sent after
    // the request in the same burst never arrives.
    Bytes burst = WriteRequest(2, 0x22);
    Bytes more = WriteRequest(3, 0x33);
    burst.insert(burst.end(), more.begin(), more.end());
    RadioReply last = w.Send(burst);
    EXPECT_TRUE(last.hangUp);
    EXPECT_EQ(last.bytes, Bytes{0x06});
    EXPECT_EQ(BlockOf(writer.Memory(), 2), Bytes(16, 0x22));
    EXPECT_EQ(BlockOf(writer.Memory(), 3), BlockOf(PatternMemory(), 3));
    EXPECT_TRUE(writer.TakeSaveDue()) << "the blocks written before the hang-up are kept";
}

TEST(RadioFaults, NoiseGoesOutBeforeTheChosenReplyOnly)
{
    RadioFaults f;
    f.noiseAt = ExchangePoint{Kind::Block, 2};
    SimulatedRadio radio = FaultyRadio(f);
    Host host(radio);
    ASSERT_TRUE(host.Handshake());
    host.Reply({0x06});
    EXPECT_EQ(host.Reply(ReadRequest(1)).size(), 20u);
    Bytes noisy = host.Reply(ReadRequest(2));
    ASSERT_EQ(noisy.size(), 23u);
    EXPECT_EQ(Bytes(noisy.begin() + 7, noisy.end()), BlockOf(PatternMemory(), 2));
    EXPECT_EQ(std::count(noisy.begin(), noisy.begin() + 3, 0x06), 0) << "noise holds no acknowledge";

    // One noise byte before the program acknowledge leaves the 06 at byte 1.
    RadioFaults one;
    one.noiseAt = ExchangePoint{Kind::Program, 0};
    one.noiseCount = 1;
    SimulatedRadio early = FaultyRadio(one);
    Host e(early);
    Bytes ack = e.Reply(Program('c'));
    ASSERT_EQ(ack.size(), 2u);
    EXPECT_EQ(ack[1], 0x06);
    EXPECT_NE(ack[0], 0x06);
}

TEST(RadioFaults, OnlyInTheChosenSession)
{
    RadioFaults f;
    f.wrongResponse = true;
    f.onlyInSession = 2;
    SimulatedRadio radio = FaultyRadio(f);
    Host host(radio);
    EXPECT_TRUE(host.Handshake());
    host.Reply({'E'});
    EXPECT_FALSE(host.Handshake());
    host.Reply({'E'});
    EXPECT_TRUE(host.Handshake());
    EXPECT_EQ(radio.SessionCount(), 3);
}
