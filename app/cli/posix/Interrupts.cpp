// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/Interrupts.h"

#include <csignal>

void CatchInterrupts(void (*handler)(int))
{
    // Without SA_RESTART, so a question waiting on the terminal ends too
    // (std::signal would restart the read).
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}
