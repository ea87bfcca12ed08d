// SPDX-License-Identifier: GPL-3.0-or-later
// The converter on iconv: one descriptor for one call, closed when it goes.
#include "base/TextConverter.h"

#include <cerrno>
#include <iconv.h>

namespace {
iconv_t Descriptor(void* handle)
{
    return static_cast<iconv_t>(handle);
}
const iconv_t kNoDescriptor = reinterpret_cast<iconv_t>(-1);
}

TTextConverter::TTextConverter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}

TTextConverter::~TTextConverter()
{
    if (ok())
        iconv_close(Descriptor(handle_));
}

bool TTextConverter::ok() const
{
    return Descriptor(handle_) != kNoDescriptor;
}

size_t TTextConverter::Convert(std::string_view in, std::string& out)
{
    const iconv_t cd = Descriptor(handle_);
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
