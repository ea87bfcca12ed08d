// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "HostScript.h"

TEST(SimulatedRadio, AnswersEveryFrameOfACompleteRead)
{
    const RadioMemory memory = PatternMemory();
    SimulatedRadio radio(memory, "QV30");
    Host host(radio);

    EXPECT_EQ(host.Reply(Program('a')), Bytes{0x06}); // the wake-up frame
    EXPECT_EQ(host.Reply(Program('c')), Bytes{0x06});
    Bytes ident = host.Reply({0x02});
    ASSERT_EQ(ident.size(), 16u);
    EXPECT_EQ(std::string(ident.begin() + 1, ident.begin() + 5), "QV30");
    EXPECT_EQ(ident[6], 0x36); // tag 0x63 with its nibbles exchanged
    EXPECT_EQ(host.SendIdent(), Bytes{host.expected});

    for (int block = 0; block < 27; ++block) {
        ASSERT_EQ(host.Reply({0x06}), Bytes{0x06}) << "acknowledge before block " << block;
        Bytes data = host.Reply(ReadRequest(block));
        ASSERT_EQ(data.size(), 20u) << "block " << block;
        EXPECT_EQ(Bytes(data.begin() + 4, data.end()), BlockOf(memory, block)) << "block " << block;
    }
    EXPECT_EQ(host.Reply({0x06}), Bytes{0x06});
    EXPECT_TRUE(host.Reply({'E'}).empty());
    EXPECT_EQ(radio.SessionCount(), 1);
    EXPECT_FALSE(radio.SessionDeadline()) << "the end frame closes the session";
    EXPECT_FALSE(radio.TakeSaveDue()) << "a read changes nothing worth saving";
    EXPECT_EQ(radio.Memory(), memory);
}

TEST(SimulatedRadio, ReturnsEveryPortTagWithItsNibblesExchanged)
{
    SimulatedRadio radio(PatternMemory(), "QV30");
    Host host(radio);
    for (uint8_t tag : {0x61, 0x65, 0x66, 0x69}) {
        host.Reply(Program('a'));
        host.Reply(Program(tag));
        Bytes ident = host.Reply({0x02});
        ASSERT_EQ(ident.size(), 16u);
        EXPECT_EQ(ident[6], static_cast<uint8_t>((tag << 4) | (tag >> 4))) << int(tag);
        // The program ends here with the end frame when it dislikes the
        // reply, in place of the identification block, and comes back for
        // the next try well within a second.
        host.Reply({'E'});
        ASSERT_TRUE(radio.SessionDeadline());
        EXPECT_LT(*radio.SessionDeadline() - host.now, SimulatedRadio::kSessionGap);
        host.now += 600ms;
    }
}

TEST(SimulatedRadio, StoresAWriteOfBlocks0To24AndGuardsItsOwnBlocks)
{
    const RadioMemory before = PatternMemory();
    SimulatedRadio radio(before, "QV30");
    Host host(radio);
    ASSERT_TRUE(host.Handshake());
    ASSERT_EQ(host.Reply({0x06}), Bytes{0x06});
    for (int block = 0; block < 25; ++block)
        ASSERT_EQ(host.Reply(WriteRequest(block, static_cast<uint8_t>(0xA0 + block))), Bytes{0x06});
    // The factory time stamp and serial number cannot be written.
    EXPECT_EQ(host.Reply(WriteRequest(25, 0x11)), Bytes{0x15});
    EXPECT_EQ(host.Reply(WriteRequest(26, 0x11)), Bytes{0x15});
    EXPECT_FALSE(radio.TakeSaveDue()) << "saved only once the session is over";
    host.Reply({'E'});

    for (int block = 0; block < 25; ++block)
        EXPECT_EQ(BlockOf(radio.Memory(), block), Bytes(16, static_cast<uint8_t>(0xA0 + block)));
    EXPECT_TRUE(std::equal(before.begin() + 0x190, before.end(), radio.Memory().begin() + 0x190));
    EXPECT_TRUE(radio.TakeSaveDue());
    EXPECT_FALSE(radio.TakeSaveDue()) << "one save per write session";
}

TEST(SimulatedRadio, ServesSessionAfterSessionAndRecoversFromAbandonedOnes)
{
    SimulatedRadio radio(PatternMemory(), "QV30");
    Host host(radio);
    // Three radios' worth of sessions in a row.
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(host.Handshake()) << "session " << i + 1;
        host.Reply({0x06});
        EXPECT_EQ(host.Reply(ReadRequest(1)).size(), 20u);
        host.Reply({'E'});
    }
    EXPECT_EQ(radio.SessionCount(), 3);

    // A write given up half-way: the next wake-up starts over at once, and
    // the blocks written so far are saved.
    ASSERT_TRUE(host.Handshake());
    host.Reply({0x06});
    host.Reply(WriteRequest(2, 0x42));
    ASSERT_TRUE(host.Handshake());
    EXPECT_EQ(radio.SessionCount(), 5);
    EXPECT_TRUE(radio.TakeSaveDue());
    EXPECT_EQ(BlockOf(radio.Memory(), 2), Bytes(16, 0x42));

    // A host that goes quiet mid-session: the session ends at its deadline.
    host.Reply({0x06});
    ASSERT_TRUE(radio.SessionDeadline());
    radio.Tick(*radio.SessionDeadline());
    EXPECT_TRUE(radio.SessionDeadline()) << "not before the deadline has passed";
    radio.Tick(*radio.SessionDeadline() + 1ms);
    EXPECT_FALSE(radio.SessionDeadline());
    host.now += 2s;
    EXPECT_TRUE(host.Reply(ReadRequest(1)).empty()) << "no session, no data";
}

TEST(SimulatedRadio, FindsFramesInSplitArrivalsAndNoise)
{
    const RadioMemory memory = PatternMemory();
    SimulatedRadio radio(memory, "QV30");
    Host host(radio);
    // Line noise and a broken-off "PRO" before the real frames.
    EXPECT_TRUE(host.Reply({0x00, 0xFF, 'P', 'R', 'O', 0x13}).empty());
    EXPECT_TRUE(host.Reply({'P', 'P', 'R', 'O', 'G'}).empty());
    EXPECT_EQ(host.Reply({'R', 'A', 'M', 'a'}), Bytes{0x06}) << "the second P began the frame";
    ASSERT_TRUE(host.Handshake());
    host.Reply({0x06});

    // A read request arriving byte by byte.
    Bytes request = ReadRequest(9), reply;
    for (uint8_t b : request) {
        host.now += 2ms;
        Bytes part = radio.Receive(b, host.now).bytes;
        reply.insert(reply.end(), part.begin(), part.end());
    }
    ASSERT_EQ(reply.size(), 20u);
    EXPECT_EQ(Bytes(reply.begin() + 4, reply.end()), BlockOf(memory, 9));

    // The start of a write that never finished is dropped after a pause
    // instead of swallowing the next request.
    Bytes broken = WriteRequest(3, 0x77);
    broken.resize(9);
    EXPECT_TRUE(host.Reply(broken).empty());
    host.now += SimulatedRadio::kFrameGap + 10ms;
    EXPECT_EQ(host.Reply(ReadRequest(3)).size(), 20u);
    EXPECT_EQ(BlockOf(radio.Memory(), 3), BlockOf(memory, 3));
}

TEST(SimulatedRadio, RefusesWhatNoRadioWouldAccept)
{
    SimulatedRadio radio(PatternMemory(), "QV30");
    Host host(radio);
    // Requests before any handshake go unanswered.
    EXPECT_TRUE(host.Reply(ReadRequest(0)).empty());
    EXPECT_TRUE(host.Reply({0x02}).empty());

    // An identification block with a wrong check byte.
    host.Reply(Program('a'));
    host.Reply(Program('c'));
    host.Reply({0x02});
    host.ident[15] ^= 0x01;
    Bytes auth = host.SendIdent();
    ASSERT_EQ(auth.size(), 1u);
    EXPECT_NE(auth[0], host.expected);
    EXPECT_TRUE(host.Reply({0x06}).empty()) << "the session was dropped";
    host.ident[15] ^= 0x01;

    // Reads past the end of the memory and with another length.
    ASSERT_TRUE(host.Handshake());
    EXPECT_EQ(host.Reply({'R', 0x03, 0x10, 0x10}), Bytes{0x15});
    EXPECT_EQ(host.Reply({'R', 0xFF, 0xF0, 0x10}), Bytes{0x15});
    EXPECT_EQ(host.Reply({'R', 0x00, 0x10, 0x20}), Bytes{0x15});
    EXPECT_EQ(host.Reply({'R', 0x03, 0x00, 0x10}).size(), 20u) << "the last whole block is served";
}
