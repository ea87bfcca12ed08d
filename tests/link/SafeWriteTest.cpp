// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

#include "LinkBench.h"
#include "document/Backups.h"
#include "document/SafeTexts.h"
#include "image/ChannelCodec.h"
#include "link/SafeWrite.h"

namespace {

// The safe write between a scripted radio and a fake clock; the radio
// starts out holding the document.
struct SafeBench : TSafeWriteView {
    FakeClock clock;
    FakePort port{clock};
    FakeRadio radio{port};
    TSafeWrite write{port, clock, *this};
    std::vector<SafePhase> phases;
    std::vector<int> progress;
    int maximum = 0;
    std::vector<std::vector<ContentChange>> asked;
    bool answer = true;
    bool answers = true; // false: the preview stays open
    std::vector<SafeOutcome> outcomes;

    SafeBench() { std::copy_n(ALL.Image.begin(), radio.memory.size(), radio.memory.begin()); }
    size_t framesAtPhase = 0;
    void ShowPhase(SafePhase phase) override { phases.push_back(phase), framesAtPhase = port.sent.size(); }
    void ShowProgress(int position, int max) override { progress.push_back(position), maximum = max; }
    void ConfirmChanges(const std::vector<ContentChange>& changes) override
    {
        asked.push_back(changes);
        if (answers)
            write.Answer(answer);
    }
    void Finished(const SafeOutcome& outcome) override { outcomes.push_back(outcome); }

    bool Run(const std::string& folder, bool verify = true)
    {
        outcomes.clear();
        write.Start({true, verify, folder}, DocumentToWrite());
        return clock.Run([this] { return !outcomes.empty(); });
    }
    long FirstWriteFrame() const
    {
        for (const SentFrame& f : port.sent)
            if (Describe(f.bytes)[0] == 'W')
                return f.time;
        return -1;
    }
};

class SafeWrite : public Link {
protected:
    std::string Folder() const { return dir.file("backups"); }
};

TEST_F(SafeWrite, BacksUpAsksWritesAndVerifiesOnOneProgressBar)
{
    SafeBench b;
    InitChannel(1, "446.00625");
    ASSERT_TRUE(b.write.Open("COM3", DocumentSettings()));
    ASSERT_TRUE(b.Run(Folder()));

    ASSERT_EQ(b.outcomes.size(), 1u);
    EXPECT_EQ(b.outcomes[0].link.result, LinkResult::Succeeded);
    EXPECT_TRUE(b.outcomes[0].verified);
    EXPECT_EQ(SafeOutcomeText(b.outcomes[0], b.write.BackupFile()), "Verified");
    EXPECT_EQ(b.phases, (std::vector<SafePhase>{SafePhase::BackingUp, SafePhase::Confirming, SafePhase::Writing,
                                                SafePhase::Verifying}));
    EXPECT_TRUE(std::is_sorted(b.progress.begin(), b.progress.end()));
    EXPECT_EQ(b.progress.back(), 27 + 24 + 27);
    EXPECT_EQ(b.maximum, 27 + 24 + 27);
    EXPECT_EQ(b.write.StepProgress(), 27); // the verify read's own count
    EXPECT_EQ(b.radio.writesReceived, 25);

    // The preview named the one channel the radio lacked.
    ASSERT_EQ(b.asked.size(), 1u);
    ASSERT_EQ(b.asked[0].size(), 1u);
    EXPECT_EQ(ChangeLine(b.asked[0][0]),
              "Channel 1: added (RX Frequency 446.00625, TX Frequency 446.00625, "
              "TX Power High, W/N Wide, Scan Add Del, Busy Lock No, Epilogue On, PTT ID Off)");

    // The backup holds the radio as it was, under its serial number.
    std::optional<RadioContents> backup = ReadContentsFile(b.write.BackupFile());
    ASSERT_TRUE(backup);
    EXPECT_EQ(std::filesystem::path(b.write.BackupFile()).parent_path(), std::filesystem::path(Folder()));
    EXPECT_EQ(DiffContents(*backup, *b.write.RadioBefore()).size(), 0u);
    EXPECT_EQ(DiffContents(*backup, DocumentContents()).size(), 1u);

    // The next radio that holds what the first one held is written without
    // a second preview; one that holds something else is asked about.
    b.write.SkipPreviewFor(b.write.RadioBefore());
    std::copy_n(backup->image.begin(), b.radio.memory.size(), b.radio.memory.begin());
    ASSERT_TRUE(b.Run(Folder()));
    EXPECT_EQ(b.outcomes[0].link.result, LinkResult::Succeeded);
    EXPECT_EQ(b.asked.size(), 1u);
    ASSERT_TRUE(b.Run(Folder()));
    EXPECT_EQ(b.asked.size(), 2u);
    EXPECT_TRUE(b.asked[1].empty()); // it holds the document already
}

TEST_F(SafeWrite, PullingTheCableInAnyPhaseFailsWithinTwoSecondsAndTheBackupIsNamedOnceWritingBegan)
{
    for (SafePhase phase : {SafePhase::BackingUp, SafePhase::Writing, SafePhase::Verifying}) {
        SCOPED_TRACE(static_cast<int>(phase));
        SafeBench b;
        const auto before = ALL.Image;
        ASSERT_TRUE(b.write.Open("COM3", DocumentSettings()));
        b.write.Start({true, true, Folder()}, DocumentToWrite());
        ASSERT_TRUE(b.clock.Run([&] { return b.write.Phase() == phase && b.port.sent.size() > b.framesAtPhase + 10; }));
        const long pulled = b.clock.now + 10;
        b.port.LineErrorAt(pulled);
        b.radio.tamper = [](const Bytes&, Bytes&) { return false; };
        ASSERT_TRUE(b.clock.Run([&] { return !b.outcomes.empty(); }));
        EXPECT_LE(b.clock.now - pulled, 2000);
        EXPECT_EQ(b.outcomes[0].link.result, LinkResult::Failed);
        EXPECT_EQ(OutcomeMessage(b.outcomes[0].link), &TLanguage::ComError);
        const std::string text = SafeOutcomeText(b.outcomes[0], b.write.BackupFile());
        if (phase != SafePhase::BackingUp) {
            ASSERT_FALSE(b.write.BackupFile().empty());
            EXPECT_NE(text.find(b.write.BackupFile()), std::string::npos) << text;
        } else {
            EXPECT_EQ(text, kComError);
            EXPECT_EQ(b.FirstWriteFrame(), -1);
            EXPECT_EQ(ALL.Image, before);
        }
    }
}

TEST_F(SafeWrite, NothingIsWrittenWithoutABackupInHandOrWithoutAYes)
{
    std::ofstream(dir.file("not-a-folder")) << "x";
    struct Case {
        const char* name;
        std::string folder;
        bool answer;
        uint8_t band;
        SafeFailure failure;
    };
    const uint8_t band = ALL.Image[kBandCodeOffset];
    for (const Case& c :
         {Case{"folder is a file", dir.file("not-a-folder") + "/sub", true, band, SafeFailure::BackupNotSaved},
          Case{"declined", Folder(), false, band, SafeFailure::None},
          Case{"other band", Folder(), true, static_cast<uint8_t>(band ^ 1), SafeFailure::Link}}) {
        SCOPED_TRACE(c.name);
        SafeBench b;
        b.answer = c.answer;
        b.radio.memory[kBandCodeOffset] = c.band;
        ASSERT_TRUE(b.write.Open("COM3", DocumentSettings()));
        ASSERT_TRUE(b.Run(c.folder));
        EXPECT_EQ(b.FirstWriteFrame(), -1);
        EXPECT_EQ(b.outcomes[0].failure, c.failure);
        EXPECT_NE(b.outcomes[0].link.result, LinkResult::Succeeded);
    }
    SafeOutcome wrongModel;
    wrongModel.link.result = LinkResult::Failed;
    wrongModel.failure = SafeFailure::Link;
    wrongModel.link.failure = LinkFailure::WrongModel;
    EXPECT_EQ(SafeOutcomeText(wrongModel, ""), "Model Type Wrong.");
}

TEST_F(SafeWrite, ARefusedBlockARadioOfAnotherBandAndADeviceLostBeforeTheVerifyAreNamed)
{
    // The plain write (no backup, no verify) keeps the link's own message.
    for (const char* refused : {"W0030", "W0030 plain", "W0180 lost"}) {
        SafeBench b;
        const std::string how = refused;
        b.radio.tamper = [&](const Bytes& frame, Bytes& reply) {
            if (how.starts_with(Describe(frame)) && how.ends_with("lost"))
                b.port.writeFails = true;
            else if (how.starts_with(Describe(frame)))
                reply = {0x15};
            return true;
        };
        ASSERT_TRUE(b.write.Open("COM3", DocumentSettings()));
        const bool plain = how.ends_with("plain");
        b.write.Start({!plain, !plain, Folder()}, DocumentToWrite());
        ASSERT_TRUE(b.clock.Run([&] { return !b.outcomes.empty(); }));
        const std::string text = SafeOutcomeText(b.outcomes[0], b.write.BackupFile());
        EXPECT_EQ(text.find(how == "W0030" ? "The radio refused block 3 (address 0x030): it answered 15" : kComError),
                  0u)
            << how << ": " << text;
    }
    SafeBench b;
    b.radio.memory[kBandCodeOffset] = 0xF3;
    ALL.Image[kBandCodeOffset] = 0xF0;
    ASSERT_TRUE(b.write.Open("COM3", DocumentSettings()));
    ASSERT_TRUE(b.Run(Folder()));
    EXPECT_EQ(SafeOutcomeText(b.outcomes[0], "").find("The radio is for 400 - 520MHz, the document for 134 - 174MHz"),
              0u);
}

TEST_F(SafeWrite, CancelStopsEveryStepAtOnce)
{
    for (SafePhase phase : {SafePhase::BackingUp, SafePhase::Confirming, SafePhase::Writing, SafePhase::Verifying}) {
        SCOPED_TRACE(static_cast<int>(phase));
        SafeBench b;
        b.answers = phase != SafePhase::Confirming;
        ASSERT_TRUE(b.write.Open("COM3", DocumentSettings()));
        b.write.Start({true, true, Folder()}, DocumentToWrite());
        ASSERT_TRUE(b.clock.Run([&] {
            return b.write.Phase() == phase &&
                   (phase == SafePhase::Confirming || b.port.sent.size() > b.framesAtPhase + 4);
        }));
        b.write.Cancel();
        const size_t sent = b.port.sent.size();
        b.clock.Run([] { return false; }, 10000);
        ASSERT_EQ(b.outcomes.size(), 1u);
        EXPECT_EQ(b.outcomes[0].link.result, LinkResult::Cancelled);
        EXPECT_EQ(b.port.sent.size(), sent);
        EXPECT_FALSE(b.write.Running());
    }
}

TEST_F(SafeWrite, VerifyNamesTheFirstBlockTheRadioDidNotKeep)
{
    SafeBench b;
    b.radio.tamper = [&](const Bytes& frame, Bytes&) {
        if (Describe(frame) == "W0030")
            b.radio.memory[0x3C] ^= 0x01;
        return true;
    };
    ASSERT_TRUE(b.write.Open("COM3", DocumentSettings()));
    ASSERT_TRUE(b.Run(Folder()));
    const SafeOutcome& o = b.outcomes[0];
    EXPECT_EQ(o.link.result, LinkResult::Failed);
    EXPECT_EQ(o.failure, SafeFailure::VerifyMismatch);
    ASSERT_TRUE(o.difference);
    EXPECT_EQ(o.difference->block, 3);
    const std::string text = SafeOutcomeText(o, b.write.BackupFile());
    EXPECT_EQ(
        text.rfind("The radio does not hold what was written: block 3 (Channel 3) differs. Write the radio again.", 0),
        0u)
        << text;
    EXPECT_EQ(text.find("Verified"), std::string::npos);

    // Without a backup the read back still tells whose radio it was.
    b.radio.tamper = nullptr;
    std::memcpy(b.radio.memory.data() + kSerialNumber, "302511000055", 12);
    b.outcomes.clear();
    b.write.Start({false, true, Folder()}, DocumentToWrite());
    ASSERT_TRUE(b.clock.Run([&] { return !b.outcomes.empty(); }));
    EXPECT_TRUE(b.outcomes[0].verified);
    EXPECT_EQ(b.write.SerialNumber(), "302511000055");
}

// Writers racing for one backup name (the same serial number, the same
// second, one folder) each get a file of their own that holds their radio;
// a name planted as a dangling link is never written through.
TEST_F(SafeWrite, BackupsOfOneSerialInOneSecondNeverShareAFile)
{
    std::filesystem::create_directories(Folder());
    const std::string planted = Folder() + "/" + BackupFileName(SerialNumberOf(DocumentContents()), 1800000000);
    std::filesystem::create_symlink(dir.file("elsewhere.dat"), planted);
    // Writers are processes, as two programs sharing a backup folder are;
    // each lists the names it was given.
    constexpr int kWriters = 6, kEach = 15;
    std::vector<pid_t> writers;
    for (int w = 0; w < kWriters; ++w) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            RadioContents radio = DocumentContents();
            radio.image[0x3C] = static_cast<uint8_t>(w);
            std::ofstream names(dir.file("names-" + std::to_string(w)));
            for (int i = 0; i < kEach; ++i)
                names << SaveBackup(radio, Folder(), 1800000000, nullptr) << '\n';
            names.close();
            _exit(0);
        }
        writers.push_back(pid);
    }
    for (pid_t pid : writers)
        waitpid(pid, nullptr, 0);
    std::vector<std::vector<std::string>> saved(kWriters);
    for (int w = 0; w < kWriters; ++w) {
        std::ifstream names(dir.file("names-" + std::to_string(w)));
        for (std::string name; std::getline(names, name);)
            saved[w].push_back(name);
    }
    std::set<std::string> names;
    for (int w = 0; w < kWriters; ++w)
        for (const std::string& path : saved[w]) {
            names.insert(path);
            std::optional<RadioContents> back = ReadContentsFile(path);
            ASSERT_TRUE(back) << path;
            EXPECT_EQ(back->image[0x3C], w) << path;
        }
    EXPECT_EQ(names.size(), size_t{kWriters * kEach});
    EXPECT_EQ(names.count(planted), 0u);
    EXPECT_FALSE(std::filesystem::exists(dir.file("elsewhere.dat")));
}

} // namespace
