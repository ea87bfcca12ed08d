// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every message the user sees goes through MsgBox. The handler is
// replaceable: the windows show a dialog, the command line prints, and tests
// record the message and answer it.
#include <functional>
#include <string>

enum : int {
    kMsgInformation = 1, // information icon, OK button; returns kMsgOk
    kMsgQuestion = 2,    // question icon, Yes and No; returns kMsgYes, kMsgNo or kMsgCancel
    kMsgConnection =
        3, // information about a failed link, OK and Check Connection; returns kMsgOk or kMsgCheckConnection
};
// A question left with Escape or by closing its box is answered kMsgCancel.
// Callers for which cancelling means nothing take it as No; a question that
// guards a command (save the changes before going on?) stops the command.
enum : int {
    kMsgOk = 1,
    kMsgCancel = 2,
    kMsgYes = 6,
    kMsgNo = 7,
    kMsgCheckConnection = 8,
};

using MsgBoxHandler = std::function<int(const std::string& caption, const std::string& text, int kind)>;

int MsgBox(const std::string& caption, const std::string& text, int kind);

// Installs a handler and returns the previous one. An empty handler puts
// back the default, which prints to stderr and answers No to questions.
MsgBoxHandler SetMsgBoxHandler(MsgBoxHandler handler);
