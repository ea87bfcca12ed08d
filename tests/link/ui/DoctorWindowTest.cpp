// SPDX-License-Identifier: GPL-3.0-or-later
// Setup > Check Connection: the doctor's window on a copied tree of a
// machine with one cable, its marks, its line test on a scripted port, and
// the way a failed read offers it.
#include <QApplication>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/State.h"
#include "link/FakeLink.h"
#include "link/posix/PosixSystemView.h"
#include "link/ui/Doctor.h"
#include "link/ui/ReadRadio.h"

namespace fs = std::filesystem;

namespace {

class DoctorWindow : public ::testing::Test {
protected:
    TempDir dir;
    TempDir machine; // the copied tree: /dev, /sys
    FakeClock* clock = nullptr;
    FakePort* port = nullptr;

    void SetUp() override
    {
        StartFresh(dir.path().string());
        ClearRunMappings();
        // A CH340 cable as ttyUSB0, driven by ch341.
        const fs::path usb = machine.path() / "sys/devices/pci0000:00/usb1/1-2";
        fs::create_directories(usb / "1-2:1.0/ttyUSB0");
        std::ofstream(usb / "idVendor") << "1a86\n";
        std::ofstream(usb / "idProduct") << "7523\n";
        fs::create_directories(machine.path() / "sys/class/tty/ttyUSB0");
        fs::create_directory_symlink(usb / "1-2:1.0/ttyUSB0", machine.path() / "sys/class/tty/ttyUSB0/device");
        fs::create_directories(machine.path() / "dev");
        std::ofstream(machine.path() / "dev/ttyUSB0") << "";
        SetLinkPartsFactory([this] {
            auto c = std::make_unique<FakeClock>();
            auto p = std::make_unique<FakePort>(*c);
            clock = c.get();
            port = p.get();
            // Our radio: an acknowledge for each frame, its identification for the request.
            port->onWrite = [this](const Bytes& sent) {
                if (sent != Bytes{kIdentifyRequest})
                    return port->Arrive({kAck}, 10);
                Bytes ident(kIdentReplyLength, 0);
                std::copy_n("QV30", kIdentModelCodeLength, ident.begin() + kIdentModelCodeAt);
                ident[kIdentTagAt] = ExchangedTag('a');
                port->Arrive(ident, 10);
            };
            return LinkParts{std::move(p), std::move(c)};
        });
    }
    void TearDown() override { SetLinkPartsFactory(nullptr); }
};

std::vector<std::pair<int, std::string>> Rows(const TfDoctor& window)
{
    std::vector<std::pair<int, std::string>> rows;
    for (int r = 0; r < window.tbFindings->rowCount(); ++r)
        rows.emplace_back(window.tbFindings->item(r, 0)->data(Qt::UserRole).toInt(),
                          window.tbFindings->item(r, 1)->text().toStdString());
    return rows;
}

TEST_F(DoctorWindow, ShowsTheFindingsAndTestsTheLine)
{
    TPosixSystemView view(machine.path().string());
    TfDoctor window(nullptr, &view);
    window.show();
    auto rows = Rows(window);
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[0].first, static_cast<int>(Severity::Ok));
    EXPECT_NE(rows[0].second.find("COM1 (/dev/ttyUSB0) is CH340/CH341"), std::string::npos) << rows[0].second;
    ASSERT_TRUE(window.btnProbe->isEnabled());

    window.btnProbe->click();
    ASSERT_TRUE(window.Testing());
    EXPECT_FALSE(window.btnCheck->isEnabled());
    ASSERT_TRUE(clock->Run([&] { return port->sent.size() == 4 && !port->open; })); // the end frame last
    QApplication::processEvents();
    EXPECT_FALSE(window.Testing());
    rows = Rows(window);
    EXPECT_EQ(rows.back().first, static_cast<int>(Severity::Ok));
    EXPECT_EQ(rows.back().second, "The radio answered on COM1 (/dev/ttyUSB0) and is ready.");

    // Looking again drops the line test; without the cable there is nothing to test.
    fs::remove(machine.path() / "dev/ttyUSB0");
    window.btnCheck->click();
    rows = Rows(window);
    EXPECT_EQ(rows.front().first, static_cast<int>(Severity::Problem));
    EXPECT_FALSE(window.btnProbe->isEnabled());
}

TEST_F(DoctorWindow, AFailedReadOffersCheckConnection)
{
    MessageRecorder messages;
    {
        TfReadRadio read;
        read.show();
        ASSERT_NE(port, nullptr);
        port->onWrite = nullptr; // no radio
        read.btnOk->click();
        clock->Run([&] { return !messages.shown.empty(); });
    }
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back().kind, kMsgConnection);
    EXPECT_EQ(messages.shown.back().text, Language.ComError);
}

} // namespace
