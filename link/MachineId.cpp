// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/MachineId.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace fs = std::filesystem;

namespace {

// Outcome of reading one small text file: absent or unreadable files are
// ordinary (sysfs hides some attributes from unprivileged users), a read
// that starts and then fails is not.
struct FileText {
    std::string text;
    bool failed = false;
};

FileText ReadSmallFile(const fs::path& path)
{
    FileText out;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return out;
    out.text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    out.failed = in.bad();
    if (out.failed)
        out.text.clear();
    return out;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\0';
}

std::string Trim(std::string_view text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return std::string(text.substr(begin, end - begin));
}

// Block devices that are never the computer's own fixed disk: virtual,
// RAM-backed, optical, mapped, RAID, floppy and network devices.
bool IsSkippedDeviceName(std::string_view name)
{
    for (std::string_view prefix : {"loop", "ram", "zram", "sr", "dm-", "md", "fd", "nbd"})
        if (name.starts_with(prefix))
            return true;
    return false;
}

// The serial in a SCSI unit-serial-number page: four header bytes, the
// last two of them the length of what follows.
std::string SerialFromVpdPage(const std::string& page)
{
    if (page.size() <= 4)
        return {};
    size_t length = (static_cast<unsigned char>(page[2]) << 8) | static_cast<unsigned char>(page[3]);
    return Trim(std::string_view(page).substr(4, length));
}

// The value of an "E:KEY=" line of a udev database entry, or empty.
std::string UdevProperty(const std::string& entry, std::string_view key)
{
    std::string prefix = "E:" + std::string(key) + "=";
    size_t pos = 0;
    while (pos < entry.size()) {
        size_t end = entry.find('\n', pos);
        if (end == std::string::npos)
            end = entry.size();
        std::string_view line(entry.data() + pos, end - pos);
        if (line.starts_with(prefix))
            return Trim(line.substr(prefix.size()));
        pos = end + 1;
    }
    return {};
}

// Serial number of the first fixed disk known to sysfs under `root`.
std::string ReadDiskSerial(const fs::path& root, bool& readError)
{
    fs::path blockDir = root / "sys" / "block";
    std::error_code ec;
    if (!fs::exists(blockDir, ec))
        return {};

    std::vector<std::string> names;
    fs::directory_iterator it(blockDir, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec))
        names.push_back(it->path().filename().string());
    if (ec) {
        readError = true;
        return {};
    }
    // Directory order is arbitrary; sorting makes "first" the same every run.
    std::sort(names.begin(), names.end());

    for (const std::string& name : names) {
        if (IsSkippedDeviceName(name))
            continue;
        fs::path dev = blockDir / name;
        FileText removable = ReadSmallFile(dev / "removable");
        if (Trim(removable.text) == "1")
            continue;

        auto note = [&readError](const FileText& f) {
            if (f.failed)
                readError = true;
            return f;
        };
        std::string serial = Trim(note(ReadSmallFile(dev / "serial")).text);
        if (serial.empty())
            serial = Trim(note(ReadSmallFile(dev / "device" / "serial")).text);
        if (serial.empty())
            serial = SerialFromVpdPage(note(ReadSmallFile(dev / "device" / "vpd_pg80")).text);
        if (serial.empty()) {
            std::string numbers = Trim(note(ReadSmallFile(dev / "dev")).text);
            if (!numbers.empty()) {
                std::string entry = note(ReadSmallFile(root / "run" / "udev" / "data" / ("b" + numbers))).text;
                serial = UdevProperty(entry, "ID_SERIAL_SHORT");
                if (serial.empty())
                    serial = UdevProperty(entry, "ID_SERIAL");
            }
        }
        return serial;
    }
    return {};
}

} // namespace

std::optional<std::array<uint32_t, 4>> ReadCpuRegisters()
{
#if defined(__x86_64__) || defined(__i386__)
    unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx))
        return std::nullopt;
    // EBX bits 24-31 hold the initial APIC id of the core that happened to
    // run this thread; everything else in the leaf is the same on every core.
    ebx &= 0x00FFFFFFu;
    return std::array<uint32_t, 4>{eax, ebx, ecx, edx};
#else
    return std::nullopt;
#endif
}

MachineFacts ReadMachineFacts(const std::string& sysRoot)
{
    MachineFacts facts;
    fs::path root = sysRoot.empty() ? fs::path("/") : fs::path(sysRoot);
    facts.diskSerial = ReadDiskSerial(root, facts.readError);
    facts.cpuRegisters = ReadCpuRegisters();
    return facts;
}
