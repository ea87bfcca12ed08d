// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/radio-sim/PseudoTerminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

bool PseudoTerminal::Open(std::string& error)
{
    Close();
    auto fail = [&](const char* what) {
        error = std::string(what) + ": " + std::strerror(errno);
        Close();
        return false;
    };
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0)
        return fail("posix_openpt");
    if (grantpt(master_) != 0)
        return fail("grantpt");
    if (unlockpt(master_) != 0)
        return fail("unlockpt");
    const char* name = ptsname(master_);
    if (!name)
        return fail("ptsname");
    slavePath_ = name;
    slave_ = open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
    if (slave_ < 0)
        return fail("open slave");

    // Raw bytes both ways at the radio's line settings; a pseudo-terminal
    // ignores the speed but the program can read back what it expects.
    termios t{};
    if (tcgetattr(slave_, &t) != 0)
        return fail("tcgetattr");
    cfmakeraw(&t);
    t.c_cflag |= CSTOPB | CLOCAL | CREAD;
    cfsetispeed(&t, B4800);
    cfsetospeed(&t, B4800);
    if (tcsetattr(slave_, TCSANOW, &t) != 0)
        return fail("tcsetattr");

    int flags = fcntl(master_, F_GETFL);
    if (flags < 0 || fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0)
        return fail("fcntl");
    return true;
}

int PseudoTerminal::UnreadByHost() const
{
    int n = 0;
    if (slave_ < 0 || ioctl(slave_, FIONREAD, &n) != 0)
        return 0;
    return n;
}

void PseudoTerminal::Close()
{
    if (slave_ >= 0)
        close(slave_);
    if (master_ >= 0)
        close(master_);
    slave_ = -1;
    master_ = -1;
    slavePath_.clear();
}
