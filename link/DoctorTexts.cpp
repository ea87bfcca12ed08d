// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/DoctorTexts.h"

#include <array>

namespace {
constexpr auto kTexts = std::to_array<TextKey>({
    // Marks and headings.
    {"MarkOk", "OK"},
    {"MarkWarning", "CHECK"},
    {"MarkProblem", "PROBLEM"},
    {"WhatToDo", "What to do:"},
    {"ColumnFinding", "Finding"},
    {"ColumnFix", "What to do"},
    {"CheckConnection", "Check Connection"},
    {"RunDoctor", "To find the cause, run qv300-cli doctor"},
    {"CouldNotRun", "The doctor cannot run: the system's device lists (/sys and /dev) cannot be read."},
    // No device.
    {"NoCable", "No programming cable is connected: the computer has no USB serial device."},
    {"NoCableFix", "Plug the cable into a USB port of the computer. If it is plugged in, unplug it, wait five "
                   "seconds, plug it in again and check again."},
    {"DriversLoaded", "USB serial drivers loaded: %1."},
    {"NoDriverLoaded", "No USB serial driver is loaded (Linux loads one when a cable is plugged in)."},
    {"NoTty", "A %1 cable (%2) is plugged in, but no serial port was made for it: its driver is missing or "
              "another program took it."},
    {"NoTtyFix", "Unplug the cable and plug it in again. If that does not help, run: sudo modprobe %1"},
    // The devices.
    {"Device", "%1 is %2: %3."},
    {"DeviceUnknownChip", "%1 is %2: %3. This is not one of the usual programming cable chips."},
    {"DeviceUnknownChipFix", "If this is not the programming cable, choose another port."},
    {"NoPortsFound", "No serial port was found. Plug in the cable, then run qv300-cli doctor to see why none shows."},
    {"DeviceNotUsb", "%1 is not a USB device: a built-in port, a pseudo-terminal or an adapter the system does not describe."},
    {"StableName", "stable name %1"},
    {"NoteCh340", "Known issue: the braille service brltty may take CH340 cables away."},
    {"NotePl2303", "Known issue: the driver refuses old and copied PL2303 chips."},
    {"NoteCp210x", "Known issue: ModemManager may probe CP210x cables for a few seconds after plugging in."},
    {"NoteFtdi", "Known issue: copied FTDI chips may stop working after a driver update."},
    {"ChipRefused", "The kernel refused the PL2303 chip of the cable as unsupported or counterfeit: \"%1\"."},
    {"ChipRefusedFix", "Use a cable with a genuine chip (FTDI, CP210x or CH340); this cable cannot work on Linux."},
    {"KernelLogUnreadable", "The kernel log cannot be read without administrator rights, so a refused chip or a "
                            "cable taken by brltty cannot be seen from here."},
    {"KernelLogUnreadableFix", "Run: sudo dmesg | tail -n 30   and look for lines about usb, tty, pl2303 or brltty."},
    // Permission.
    {"MayOpen", "You may open %1."},
    {"NoPermission", "You may not open %1: it belongs to group %2 (mode %3) and you are not in that group."},
    {"NoPermissionFix", "Run: sudo usermod -aG %1 %2   then log out and log in again."},
    {"NewLogin", "You may not open %1 yet: you were added to group %2 after this login."},
    {"NewLoginFix", "Log out and log in again (or restart the computer)."},
    {"GroupMayNotOpen", "Nobody but its owner may open %1: group %2, mode %3."},
    {"GroupMayNotOpenFix", "Run: sudo chmod 660 %1   (this lasts until the cable is plugged in again)."},
    // Other programs.
    {"Busy", "%1 is in use by another program: %2 (process %3)."},
    {"BusyFix", "Close %1, then check again. To end it at once, run: kill %2"},
    {"Brltty", "The braille display service brltty is %1 and its rules claim %2 cables: it takes the cable away "
               "from programs."},
    {"BrlttyLog", "The kernel log shows brltty taking a serial cable: \"%1\"."},
    {"BrlttyFix", "Unless you use a braille display, run: sudo systemctl mask --now brltty-udev.service "
                  "brltty.service   then plug the cable in again."},
    {"Installed", "installed"},
    {"Running", "running"},
    {"ModemManagerProbing", "ModemManager is probing %1: it sends modem commands to the port while it looks for a modem."},
    {"ModemManagerRunning", "ModemManager is running; it may probe a serial cable for a few seconds after it is plugged in."},
    {"ModemManagerFix", "Run: sudo systemctl disable --now ModemManager   (or wait ten seconds after plugging the "
                        "cable in)."},
    // The port.
    {"WrongPort", "The chosen port %1 has no device behind it; the cable is %2."},
    {"WrongPortFix", "Choose %1 in Setup > Communication Port, or use --port %1."},
    {"BuiltInPort", "%1 is %2, a serial port built into the computer; the line is tested there only when you "
                    "name it with --port or --device."},
    {"BuiltInPortFix", "A USB programming cable shows up as /dev/ttyUSB or /dev/ttyACM: choose that port."},
    // The line to the radio.
    {"ProbeReady", "The radio answered on %1 and is ready."},
    {"ProbeReadyEcho", "The radio answered on %1 and is ready; the cable also echoes what is sent, as some cables do."},
    {"ProbeSilent", "Nothing came back on %1: the radio is switched off, its plug is not in the cable, or the cable "
                    "is on another port."},
    {"ProbeSilentFix", "Switch the radio on (turn the volume knob until it clicks), push the plug all the way into the radio's socket and check the port."},
    {"ProbeEcho", "The cable on %1 is connected but no radio answers: only our own bytes came back."},
    {"ProbeEchoFix", "Push the plug fully into the radio's socket and switch the radio on."},
    {"ProbeOther", "Unexpected bytes came back on %1: %2. This is another radio model or a line at the wrong speed."},
    {"ProbeOtherFix", "Check that the radio is a QV-300 and that no other program changed the port's speed; switch "
                      "the radio off and on."},
    {"ProbeWrongTag", "A radio answered on %1, but its identification does not carry the right tag: it is another kind of radio, or the line changes bytes."},
    {"ProbeWrongTagFix", "Check that the radio is a QV-300, push the plug fully into the radio's socket and try another cable."},
    {"ProbeOtherModel", "A radio answered on %1, but it is a model this program does not know (%2)."},
    {"ProbeOtherModelFix", "This program programs the QV-300 family only: use the programming software made for that radio."},
    {"ProbeNoIdent", "A radio acknowledged on %1, but did not answer the identify request."},
    {"ProbeNoIdentFix", "Switch the radio off and on, push the plug fully into the radio's socket and try again; if it stays so, try another cable."},
    {"ProbeOpenFailed", "%1 (%2) cannot be opened."},
    {"ProbeOpenFailedFix", "See the other findings; close every other program that uses the port."},
    // On Windows: Device Manager, the COM numbers, the port's holder.
    {"WinWhereCables", "In Device Manager, a working cable is listed under Ports (COM & LPT) with its COM number; a cable without a driver is listed under Other devices with a yellow mark."},
    {"WinDriver", "driver %1"},
    {"WinBuiltIn", "%1 is %2, a serial port built into the computer."},
    {"WinUndescribed", "%1 is a serial port that Device Manager does not describe: a virtual port or a port with a driver of its own."},
    {"WinNoDriver", "A %1 cable (%2, \"%3\") is plugged in, but its driver is not installed: Device Manager lists it under Other devices with a yellow mark (code 28)."},
    {"WinNoDriverFix", "Install the driver from %1, then unplug the cable and plug it in again. Or let Windows look for it: Device Manager ▸ Other devices ▸ %2 ▸ Properties ▸ Driver ▸ Update Driver ▸ Search automatically for drivers."},
    {"WinChipRefused", "Prolific's driver refuses the PL2303 chip of the cable (%1, \"%2\"; Device Manager: code 10, the device cannot start): the chip is an old or copied one."},
    {"WinChipRefusedFix", "Install an older Prolific driver that still accepts the chip (one from 2012 or before, such as version 3.3.2.102), then choose it: Device Manager ▸ Ports (COM & LPT) ▸ the cable ▸ Properties ▸ Driver ▸ Update Driver ▸ Browse my computer for drivers ▸ Let me pick from a list ▸ the older version ▸ Next; unplug the cable and plug it in again. Windows Update may bring the new driver back. A cable with a genuine chip (FTDI, CP210x, CH340 or a genuine PL2303) ends the problem."},
    {"WinDeviceProblem", "The %1 cable (%2, \"%3\") does not work: Device Manager shows problem code %4."},
    {"WinDeviceProblemFix", "Device Manager ▸ Ports (COM & LPT) ▸ %1 ▸ Properties ▸ Driver ▸ Uninstall Device ▸ Uninstall; unplug the cable, plug it in again and let Windows install the driver again. If the code stays, install the driver from %2."},
    {"WinHighPort", "The cable is %1, above COM20: the port dialog lists it under Other only, and some older programs cannot open such a port."},
    {"WinHighPortFix", "Choose %1 in Setup ▸ Communication Port ▸ Other, or give the cable a number up to 20: Device Manager ▸ Ports (COM & LPT) ▸ %2 ▸ Properties ▸ Port Settings ▸ Advanced ▸ COM Port Number ▸ a number up to COM20 not marked (in use) ▸ OK; unplug the cable and plug it in again."},
    {"WinBuiltInChosen", "The chosen port %1 is the serial port built into the computer; the cable is %2."},
    {"WinWrongPortFix", "Choose %1 in Setup ▸ Communication Port (or use --port %1). To give the cable the number %3 instead: Device Manager ▸ Ports (COM & LPT) ▸ %2 ▸ Properties ▸ Port Settings ▸ Advanced ▸ COM Port Number ▸ %3 ▸ OK; unplug the cable and plug it in again."},
    {"WinOpens", "%1 opens: no other program holds it."},
    {"WinBusy", "%1 is in use by another program (Windows does not say which)."},
    {"WinBusyFix", "Close the programs that may use the port (another radio programming program, a GPS or map program, a modem, terminal or Arduino tool), then check again. If none is open, unplug the cable, plug it in again and check again."},
    {"WinBusyBy", "%1 is in use by another program: %2."},
    {"WinBusyByFix", "Close %1, then check again."},
    {"WinPortGone", "%1 is listed, but its device is gone: the cable was unplugged just now, or its driver stopped."},
    {"WinPortGoneFix", "Unplug the cable, wait five seconds, plug it in again and check again."},
    {"WinOpenFailed", "%1 cannot be opened: Windows error %2."},
    {"WinOpenFailedFix", "Unplug the cable, plug it in again and check again; if the error stays, restart the computer."},
    {"WinNoSuchPort", "The chosen port %1 is not on this computer; Windows has %2."},
    {"WinNoSuchPortFix", "Choose the cable's port in Setup ▸ Communication Port; to see which it is, look in Device Manager ▸ Ports (COM & LPT) while you unplug and plug in the cable."},
});
} // namespace

constinit const TextSection kDoctorTexts{"Doctor", kTexts};
