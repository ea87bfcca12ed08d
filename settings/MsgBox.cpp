// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/MsgBox.h"

#include <iostream>

namespace {
int PrintToStderr(const std::string& caption, const std::string& text, int kind)
{
    std::cerr << caption << ": " << text << '\n';
    // Nothing can be answered on stderr; No never replaces or discards data.
    return kind == kMsgQuestion ? kMsgNo : kMsgOk;
}

MsgBoxHandler& Handler()
{
    static MsgBoxHandler handler = PrintToStderr;
    return handler;
}
}

int MsgBox(const std::string& caption, const std::string& text, int kind)
{
    return Handler()(caption, text, kind);
}

MsgBoxHandler SetMsgBoxHandler(MsgBoxHandler handler)
{
    MsgBoxHandler previous = Handler();
    Handler() = handler ? std::move(handler) : MsgBoxHandler(PrintToStderr);
    return previous;
}
