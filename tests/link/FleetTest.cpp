// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "LinkBench.h"
#include "base/Sha256.h"
#include "document/FleetTexts.h"
#include "image/ChannelCodec.h"
#include "link/Fleet.h"

namespace {

// One cable of the bench: its own clock, port and scripted radio.
struct Cable {
    FakeClock clock;
    FakePort port{clock};
    FakeRadio radio{port};
    bool onCable = true; // false: nothing answers
    void Put(const std::string& serial)
    {
        std::copy_n(ALL.Image.begin(), radio.memory.size(), radio.memory.begin());
        std::memcpy(radio.memory.data() + kSerialNumber, serial.data(), 12);
        onCable = true;
    }
    Cable()
    {
        radio.tamper = [this](const Bytes&, Bytes&) { return onCable; };
    }
};

// The fleet over several cables, every clock moved on in step.
struct FleetBench : TFleetView {
    std::vector<std::unique_ptr<Cable>> cables;
    long now = 0;
    TFleet fleet{*this, [this] { return now; }};
    int asked = 0;
    std::vector<FleetQuestion> questions;
    std::vector<bool> answers; // in turn; true once they run out
    std::vector<FleetRecord> records;
    std::vector<long> finishedAt;
    std::vector<size_t> notOpened;

    explicit FleetBench(int n)
    {
        for (int i = 0; i < n; ++i) {
            cables.push_back(std::make_unique<Cable>());
            cables.back()->Put("30251100" + std::to_string(10 + i) + "QV");
            fleet.AddPort("COM" + std::to_string(i + 1), "/dev/ttyUSB" + std::to_string(i), cables.back()->port,
                          cables.back()->clock);
        }
    }
    void ConfirmChanges(const FleetQuestion& q) override
    {
        questions.push_back(q);
        const bool yes = asked >= static_cast<int>(answers.size()) || answers[asked];
        ++asked;
        fleet.Answer(yes);
    }
    void Recorded(size_t, const FleetRecord& r) override { records.push_back(r), finishedAt.push_back(now); }
    void PortNotOpened(size_t i) override { notOpened.push_back(i); }

    // Moves every clock on to the same moment, 10 ms at a time.
    bool RunUntil(const std::function<bool()>& done, long limitMs = 120000)
    {
        for (const long end = now + limitMs; now < end; now += 10) {
            if (done())
                return true;
            for (auto& c : cables) {
                c->clock.Run([] { return false; }, now - c->clock.now);
                c->clock.now = std::max(c->clock.now, now);
            }
        }
        return done();
    }
};

class Fleet : public Link {
protected:
    FleetOptions Options(bool watch = false)
    {
        FleetOptions o;
        o.write = {true, true, dir.file("backups")};
        o.logFile = dir.file("backups/fleet.csv");
        o.watch = watch;
        o.sha256 = Sha256Hex(ALL.Image.data(), ALL.Image.size());
        o.document = DocumentToWrite();
        o.link = DocumentSettings();
        return o;
    }
    size_t BackupCount()
    {
        size_t n = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.file("backups")))
            n += entry.path().extension() == ".dat";
        return n;
    }
    std::vector<std::string> LogLines()
    {
        std::ifstream in(dir.file("backups/fleet.csv"));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
};

TEST_F(Fleet, WritesEveryRadioAtOnceAndOneFailureHoldsUpNoOther)
{
    InitChannel(1, "446.00625");
    FleetBench b(5);
    // The third radio's power fails half-way through the write; the fifth
    // port's device cannot be opened.
    Cable& faulty = *b.cables[2];
    faulty.radio.tamper = [&](const Bytes& frame, Bytes&) { return Describe(frame) != "W00C0"; };
    b.cables[4]->port.openFails = true;
    // The hash the run was given: each write stamps the document anew, so
    // one taken after the run may differ.
    const FleetOptions options = Options();
    std::string why;
    ASSERT_TRUE(b.fleet.Start(options, why)) << why;
    ASSERT_TRUE(b.RunUntil([&] { return !b.notOpened.empty(); }, 100));
    EXPECT_EQ(b.notOpened, std::vector<size_t>{4});
    EXPECT_EQ(b.fleet.Port(4).State(), FleetState::Failed);
    ASSERT_TRUE(b.RunUntil([&] { return !b.fleet.Running(); }));

    EXPECT_EQ(b.asked, 1); // one preview for the whole fleet
    EXPECT_EQ(b.fleet.Verified(), 3);
    EXPECT_EQ(b.fleet.Written(), 3);
    EXPECT_EQ(b.fleet.Failed(), 1);
    ASSERT_EQ(b.records.size(), 4u);
    // The good radios finished together, as one alone would.
    long first = -1, last = -1;
    for (size_t i = 0; i < b.records.size(); ++i)
        if (b.records[i].result == FleetResult::Verified)
            first = first < 0 ? b.finishedAt[i] : std::min(first, b.finishedAt[i]),
            last = std::max(last, b.finishedAt[i]);
    EXPECT_LE(last - first, 100);
    for (int i : {0, 1, 3}) {
        EXPECT_EQ(b.fleet.Port(i).State(), FleetState::Done);
        EXPECT_EQ(b.cables[i]->radio.writesReceived, 25);
        EXPECT_EQ(b.fleet.Port(i).StateText().rfind("done (30251100" + std::to_string(10 + i) + "QV, ", 0), 0u)
            << b.fleet.Port(i).StateText();
    }
    EXPECT_EQ(b.fleet.Port(2).State(), FleetState::Failed);
    EXPECT_NE(b.fleet.Port(2).Message().find(kComError), std::string::npos) << b.fleet.Port(2).Message();
    EXPECT_EQ(b.fleet.SummaryText(), "3 written, 3 verified, 1 failed");

    // The log: the heading and a line per radio, with the document's hash,
    // the serial number and the backup.
    std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "time,port,device,serial,model,band,sha256,result,message,seconds,backup");
    const std::string hash = options.sha256;
    EXPECT_EQ(hash.size(), 64u);
    int verified = 0;
    for (size_t i = 1; i < lines.size(); ++i) {
        EXPECT_NE(lines[i].find("," + hash + ","), std::string::npos) << lines[i];
        verified += lines[i].find(",verified,,") != std::string::npos;
    }
    EXPECT_EQ(verified, 3);
    EXPECT_NE(LogLines()[1].find(b.records[0].backupFile), std::string::npos);
}

TEST_F(Fleet, ALogThatCannotBeWrittenStopsEverythingBeforeTheFirstWrite)
{
    std::ofstream(dir.file("file")) << "x";
    FleetBench b(2);
    FleetOptions o = Options();
    o.logFile = dir.file("file") + "/fleet.csv";
    std::string why;
    EXPECT_FALSE(b.fleet.Start(o, why));
    EXPECT_EQ(why.rfind("The log " + o.logFile + " cannot be written: ", 0), 0u) << why;
    EXPECT_FALSE(b.fleet.Running());
    for (auto& c : b.cables) {
        EXPECT_EQ(c->port.opens, 0);
        EXPECT_TRUE(c->port.sent.empty());
    }
}

TEST_F(Fleet, HandsFreeWritesEachRadioPutOnTheCableOnceAndOnlyLooksForTheNextMeanwhile)
{
    FleetBench b(1);
    Cable& cable = *b.cables[0];
    cable.onCable = false;
    std::string why;
    ASSERT_TRUE(b.fleet.Start(Options(true), why)) << why;
    TFleetPort& port = b.fleet.Port(0);

    // Nothing on the cable: the first frames of the handshake, over and over.
    b.RunUntil([] { return false; }, 10000);
    EXPECT_EQ(port.State(), FleetState::Waiting);
    EXPECT_EQ(port.StateText(), "waiting for a radio");
    const size_t tries = cable.port.sent.size();
    EXPECT_GE(tries, 3u);
    for (const SentFrame& f : cable.port.sent)
        EXPECT_EQ(Describe(f.bytes).rfind("PROGRAM", 0), 0u) << Describe(f.bytes);

    auto writtenCount = [&] { return b.fleet.Written(); };
    cable.Put("302511000001");
    ASSERT_TRUE(b.RunUntil([&] { return writtenCount() == 1; }));
    // The radio stays on the cable: it is not written again.
    b.RunUntil([] { return false; }, 10000);
    EXPECT_EQ(port.State(), FleetState::Done);
    EXPECT_EQ(cable.radio.writesReceived, 25);

    // Taken off, a new radio on: written. The first one again: left alone.
    cable.onCable = false;
    ASSERT_TRUE(b.RunUntil([&] { return port.State() == FleetState::Waiting; }, 10000));
    cable.Put("302511000002");
    ASSERT_TRUE(b.RunUntil([&] { return writtenCount() == 2; }));
    cable.onCable = false;
    ASSERT_TRUE(b.RunUntil([&] { return port.State() == FleetState::Waiting; }, 10000));
    cable.Put("302511000001");
    ASSERT_TRUE(b.RunUntil([&] { return port.State() == FleetState::AlreadyDone; }, 20000));
    EXPECT_EQ(cable.radio.writesReceived, 50);
    EXPECT_EQ(b.records.size(), 2u);
    EXPECT_EQ(BackupCount(), 2u); // none for the radio left alone

    // Stop ends the port cleanly, with the radio in hand.
    b.fleet.Stop();
    ASSERT_TRUE(b.RunUntil([&] { return !b.fleet.Running(); }, 5000));
    EXPECT_EQ(LogLines().size(), 3u);
}

TEST_F(Fleet, ACablePulledFailsOnlyItsRadioAndTheNextRadioOnItIsWritten)
{
    FleetBench b(2);
    Cable& pulled = *b.cables[1];
    std::string why;
    ASSERT_TRUE(b.fleet.Start(Options(true), why)) << why;
    ASSERT_TRUE(b.RunUntil([&] { return b.fleet.Port(1).State() == FleetState::Writing; }));
    pulled.onCable = false;
    pulled.port.LineErrorAt(pulled.clock.now + 10);
    ASSERT_TRUE(b.RunUntil([&] { return b.fleet.Written() == 1 && b.fleet.Failed() == 1; }));
    EXPECT_EQ(b.fleet.Port(0).State(), FleetState::Done);

    // Another radio on that cable: written.
    pulled.Put("302511000077");
    ASSERT_TRUE(b.RunUntil([&] { return b.fleet.Written() == 2; }));
    EXPECT_EQ(b.records.back().serial, "302511000077");
    ASSERT_EQ(b.records.size(), 3u);
    EXPECT_EQ(b.records[0].port, "COM2");
    EXPECT_EQ(b.records[0].result, FleetResult::Failed);
    EXPECT_NE(b.records[0].message.find(kComError), std::string::npos) << b.records[0].message;
}

TEST_F(Fleet, ADeviceThatGoesAwayIsOpenedAgainByTheNameItFollowsWhenItComesBack)
{
    FleetBench b(2);
    Cable& cable = *b.cables[1];
    EXPECT_EQ(cable.port.followed, "/dev/ttyUSB1");
    std::string why;
    ASSERT_TRUE(b.fleet.Start(Options(true), why)) << why;
    TFleetPort& port = b.fleet.Port(1);
    ASSERT_TRUE(b.RunUntil([&] { return b.fleet.Written() == 2; }));

    // The device goes away with the radio still on the cable (the port
    // closes itself and reports the line lost): the port waits and keeps
    // trying to open it.
    auto goAway = [&] {
        cable.port.openFails = true;
        cable.port.Close();
        cable.port.LineErrorAt(cable.clock.now + 10);
    };
    goAway();
    ASSERT_TRUE(b.RunUntil([&] { return port.State() == FleetState::Waiting; }, 10000));
    const int opens = cable.port.opens;
    b.RunUntil([] { return false; }, 6000);
    EXPECT_GE(cable.port.opens, opens + 3);
    EXPECT_EQ(port.State(), FleetState::Waiting);

    // Back with the same radio: left alone. Back with another: written.
    cable.port.openFails = false;
    ASSERT_TRUE(b.RunUntil([&] { return port.State() == FleetState::AlreadyDone; }, 10000));
    EXPECT_EQ(cable.radio.writesReceived, 25);
    goAway();
    ASSERT_TRUE(b.RunUntil([&] { return port.State() == FleetState::Waiting; }, 10000));
    cable.Put("302511000099");
    cable.port.openFails = false;
    ASSERT_TRUE(b.RunUntil([&] { return b.fleet.Written() == 3; }));
    EXPECT_EQ(b.records.back().serial, "302511000099");
    EXPECT_EQ(b.records.back().device, "/dev/ttyUSB1");
    EXPECT_EQ(b.fleet.Port(0).State(), FleetState::Done);
}

TEST_F(Fleet, OnePreviewForEachGroupOfRadiosWithTheSameDifferencesNamingThem)
{
    InitChannel(1, "446.00625");
    FleetBench b(3);
    // The second radio's channel 1 has the other power: its differences
    // are its own.
    b.cables[1]->radio.memory[0x1C] ^= 0x01;
    b.answers = {true, false};
    std::string why;
    ASSERT_TRUE(b.fleet.Start(Options(), why)) << why;
    ASSERT_TRUE(b.RunUntil([&] { return !b.fleet.Running(); }));

    ASSERT_EQ(b.questions.size(), 2u);
    EXPECT_TRUE(b.questions[0].changes.empty());
    EXPECT_EQ(b.questions[0].count, 2u);
    EXPECT_EQ(b.questions[0].radios, "COM1 (serial number 3025110010QV), COM3 (serial number 3025110012QV)");
    EXPECT_FALSE(b.questions[1].changes.empty());
    EXPECT_EQ(b.questions[1].radios, "COM2 (serial number 3025110011QV)");
    // The answer to each question covers only the radios it named.
    EXPECT_EQ(b.cables[0]->radio.writesReceived, 25);
    EXPECT_EQ(b.cables[1]->radio.writesReceived, 0);
    EXPECT_EQ(b.cables[2]->radio.writesReceived, 25);
    EXPECT_EQ(b.fleet.Verified(), 2);
}

TEST_F(Fleet, StopLetsTheRadiosBeingWrittenFinishAndCancelRecordsEveryRadioInHand)
{
    FleetBench b(3);
    b.cables[2]->onCable = false;
    std::string why;
    ASSERT_TRUE(b.fleet.Start(Options(true), why)) << why;
    ASSERT_TRUE(b.RunUntil([&] { return b.fleet.Port(0).State() == FleetState::Writing; }));
    // A radio put on the third cable meanwhile is being backed up: Stop
    // leaves it as it was, while the two being written finish and verify.
    b.cables[2]->onCable = true;
    ASSERT_TRUE(b.RunUntil([&] { return b.fleet.Port(2).State() == FleetState::BackingUp; }));
    b.fleet.Stop();
    ASSERT_TRUE(b.RunUntil([&] { return !b.fleet.Running(); }));
    EXPECT_EQ(b.fleet.Verified(), 2);
    EXPECT_EQ(b.cables[2]->radio.writesReceived, 0);
    ASSERT_EQ(b.records.size(), 3u);
    EXPECT_EQ(b.records[0].result, FleetResult::Interrupted);
    EXPECT_FALSE(b.records[0].writeBegun);
    EXPECT_EQ(b.fleet.SummaryText(), "2 written, 2 verified, 0 failed, 1 interrupted");

    // Cancel in the middle of a write: every radio in hand has its line,
    // and says how its backup puts it back.
    FleetBench c(3);
    ASSERT_TRUE(c.fleet.Start(Options(), why)) << why;
    ASSERT_TRUE(
        c.RunUntil([&] { return c.fleet.Port(1).State() == FleetState::Writing && c.fleet.Port(1).Block() > 10; }));
    c.fleet.Cancel();
    EXPECT_FALSE(c.fleet.Running());
    ASSERT_EQ(c.records.size(), 3u);
    for (const FleetRecord& r : c.records) {
        EXPECT_EQ(r.result, FleetResult::Interrupted);
        EXPECT_TRUE(r.writeBegun) << r.port << " " << r.message;
        ASSERT_FALSE(r.backupFile.empty());
    }
    // Quoted for the system's own command line.
#ifdef _WIN32
    const std::string q = "\"";
#else
    const std::string q = "'";
#endif
    EXPECT_EQ(RestoreHint(c.records[0]),
              c.records[0].port + ": serial number " + c.records[0].serial +
                  " was interrupted while it was written. Its backup: " + c.records[0].backupFile +
                  ". To put it back: qv300-cli restore " + q + c.records[0].backupFile + q + " --port " +
                  c.records[0].port + " --device " + q + c.records[0].device + q);
    EXPECT_EQ(c.fleet.SummaryText(), "0 written, 0 verified, 0 failed, 3 interrupted");
    const std::vector<std::string> lines = LogLines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.find(",interrupted,") != std::string::npos; }),
              4);
}

} // namespace

TEST(Sha256, KnownDigests)
{
    EXPECT_EQ(Sha256Hex(nullptr, 0), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    const std::string abc = "abc";
    EXPECT_EQ(Sha256Hex(reinterpret_cast<const uint8_t*>(abc.data()), abc.size()),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // Across a block boundary: the tail takes a second block.
    const std::string two = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
    EXPECT_EQ(Sha256Hex(reinterpret_cast<const uint8_t*>(two.data()), two.size()),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
}
