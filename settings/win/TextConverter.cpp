// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for the Windows converter until the adapter on
// MultiByteToWideChar (code page 54936) replaces it: it converts nothing,
// so GB18030 texts keep only their ASCII, as TextEncoding does without a
// converter.
#include "settings/TextConverter.h"

TTextConverter::TTextConverter(const char*, const char*) : handle_(nullptr) {}

TTextConverter::~TTextConverter() = default;

bool TTextConverter::ok() const
{
    return false;
}

size_t TTextConverter::Convert(std::string_view, std::string&)
{
    return 0;
}
