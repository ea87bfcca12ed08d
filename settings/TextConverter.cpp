// SPDX-License-Identifier: GPL-3.0-or-later
// GB18030 through iconv.
#include "settings/TextConverter.h"

#include <cerrno>
#include <iconv.h>

// One conversion descriptor for one converter; closed when it goes.
struct TTextConverter::State {
    iconv_t cd;
};

TTextConverter::TTextConverter(Direction direction)
    : state_(std::make_unique<State>(State{direction == Direction::FromGb18030 ? iconv_open("UTF-8", "GB18030")
                                                                               : iconv_open("GB18030", "UTF-8")}))
{
}

TTextConverter::~TTextConverter()
{
    if (ok())
        iconv_close(state_->cd);
}

bool TTextConverter::ok() const
{
    return state_->cd != reinterpret_cast<iconv_t>(-1);
}

size_t TTextConverter::Convert(std::string_view in, std::string& out)
{
    iconv_t cd = state_->cd;
    iconv(cd, nullptr, nullptr, nullptr, nullptr); // back to the initial state
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (r == static_cast<size_t>(-1) && errno != E2BIG)
            break;
    }
    // Flush any shift state; neither encoding used here has one, but
    // this keeps the descriptor honest.
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    return in.size() - inLeft;
}
