// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/Interrupts.h"

#include <csignal>

namespace {
void (*caught)(int) = nullptr;

void OnSignal(int signal)
{
    // The C runtime puts the default handler back before each call, which
    // would let a second Ctrl+C end the program at once.
    std::signal(signal, OnSignal);
    caught(signal);
}
}

void CatchInterrupts(void (*handler)(int))
{
    // The C runtime turns Ctrl+C in a console into SIGINT.
    caught = handler;
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
}
