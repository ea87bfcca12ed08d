// SPDX-License-Identifier: GPL-3.0-or-later
// The link engine on the fake clock against a radio whose every reply the
// input may keep, drop, spoil, cut short or split into pieces, with stray
// bytes, line errors, OK and Cancel at any moment. Each operation ends
// exactly once (a line error between operations is a failure of its own),
// and a read that does not succeed leaves the image as it was.
//
// The input: a first byte choosing the job and the port, up to eight
// events (two bytes each: when, and what), then one byte per reply saying
// what becomes of it, with the bytes that spoil it.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "app/Startup.h"
#include "core/State.h"
#include "document/RadioContents.h"
#include "link/FakeLink.h"
#include "link/RadioLink.h"

namespace {

// The input, read front to back; zeros once it is used up.
class Script {
public:
    Script(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Next()
    {
        if (size_ == 0)
            return 0;
        --size_;
        return *data_++;
    }

private:
    const uint8_t* data_;
    size_t size_;
};

// The view of a window, which checks what the engine reports.
class CheckingView : public FakeLinkView {
public:
    const LinkJob* job = nullptr;
    std::array<uint8_t, kImageSize> image{}; // as it must be after a failure
    int starts = 0;

    void Finished(const LinkOutcome& outcome) override
    {
        FakeLinkView::Finished(outcome);
        if (job == &kReadJob && outcome.result != LinkResult::Succeeded)
            FUZZ_CHECK(ALL.Image == image);
        image = ALL.Image;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Script script(data, size);
    const uint8_t mode = script.Next();
    const LinkJob& job = (mode & 1) ? kWriteJob : kReadJob;
    StartFirstDocument();
    ALL.ComPort = (mode & 2) ? "COM12" : "COM3"; // above 9 the link tag is drawn

    FakeClock clock;
    FakePort port{clock};
    FakeRadio radio{port};
    CheckingView view;
    view.job = &job;
    TRadioLink link(job, (mode & 1) ? kWriteWindow : kReadWindow, port, clock, view);
    // The window's part: a read that succeeded becomes the document, a
    // write leaves its marks in it.
    view.onOutcome = [&](const LinkOutcome& outcome) {
        if (outcome.write)
            TakeWriteMarksIntoDocument(outcome.bytes);
        else if (outcome.result == LinkResult::Succeeded)
            TakeReadIntoDocument(link.ReceivedModelCode(), outcome.bytes);
    };
    link.SeedTagChoice(mode);
    for (size_t i = 0; i < radio.memory.size(); ++i)
        radio.memory[i] = ALL.Image[i] ^ static_cast<uint8_t>(i);

    auto start = [&] {
        if (!link.Running())
            view.image = ALL.Image;
        ++view.starts;
        if (job.requestCarriesData)
            link.Start(ALL.Image, ALL.ModelCode, FrqList.CodeOf(ALL.BandText));
        else
            link.Start();
    };
    int idleLineErrors = 0;
    const int events = (mode >> 2) % 9;
    for (int i = 0; i < events; ++i) {
        const long at = script.Next() * 20L;
        const uint8_t what = script.Next();
        switch (what % 4) {
        case 0:
            clock.At(at, [&] {
                // Between operations a line error is a failure of its own.
                idleLineErrors += !link.Running();
                link.myPortTriggerLineError();
            });
            break;
        case 1:
            clock.At(at, [&] { link.Cancel(); });
            break;
        case 2:
            clock.At(at, [&] {
                if (link.OkEnabled())
                    start();
            });
            break;
        default:
            port.Arrive(Bytes(what % 23, what), at);
            break;
        }
    }

    radio.tamper = [&](const Bytes&, Bytes& reply) {
        const uint8_t what = script.Next();
        switch (what % 8) {
        case 4:
            return false; // silent
        case 5:
            if (!reply.empty())
                reply[script.Next() % reply.size()] ^= script.Next() | 1;
            return true;
        case 6:
            reply.resize(script.Next() % (reply.size() + 1));
            return true;
        case 7: {
            // In pieces, each arriving on its own.
            size_t at = 0;
            long delay = radio.replyDelayMs;
            while (at < reply.size()) {
                size_t piece = 1 + script.Next() % reply.size();
                piece = std::min(piece, reply.size() - at);
                port.Arrive(Bytes(reply.begin() + static_cast<long>(at), reply.begin() + static_cast<long>(at + piece)),
                            delay);
                at += piece;
                delay += script.Next() % 64;
            }
            return false;
        }
        default:
            return true; // as the radio gives it
        }
    };

    if (!link.Open(ALL.ComPort, {ALL.BaudRate, ALL.IdentString})) {
        link.Close();
        return 0;
    }
    start();
    clock.Run([&] { return view.closes > 0; }, 30000);
    link.Close();
    FUZZ_CHECK(!link.Running());
    // Each start is answered once; nothing else is, but a line error
    // between operations.
    const int outcomes = static_cast<int>(view.outcomes.size());
    FUZZ_CHECK(outcomes >= view.starts && outcomes <= view.starts + idleLineErrors);
    return 0;
}
