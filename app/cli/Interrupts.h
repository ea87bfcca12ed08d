// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Ctrl+C and a polite kill (SIGINT, SIGTERM) call `handler` every time they
// come, for as long as the program runs, and a question waiting on the
// terminal ends when they do.
void CatchInterrupts(void (*handler)(int));
