// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/ChannelColumns.h"

#include <array>

namespace {
// clang-format off
constexpr std::array<ChannelColumn, 20> kColumns = {{
    {"S-M-N", "045@No."},
    {"S-R-R", "080@RX Frequency"},
    {"S-R-T", "080@TX Frequency"},
    {"S-R-S", "065@QT/DQT Dec"},
    {"S-R-S", "065@QT/DQT Enc"},
    {"S-M-S", "065@TX Power"},
    {"S-M-S", "065@W/N"},
    {"S-M-S", "065@Scan Add"},
    {"S-M-S", "075@Busy Lock"},
    {"S-M-S", "065@Epilogue"},
    {"N-M-S", "065@Voice Mode"},
    {"N-M-S", "065@Wars"},
    {"S-M-S", "065@PTT ID"},
    {"N-M-S", "065@DTMF"},
    {"N-M-S", "065@Find"},
    {"N-M-S", "065@Line"},
    {"N-M-S", "065@Alon"},
    {"N-M-S", "065@Call-1"},
    {"N-M-S", "065@Call-2"},
    {"N-M-M", "065@More..."},
}};
// clang-format on
}

std::span<const ChannelColumn> ChannelColumns()
{
    return kColumns;
}

int ScaledToFont(int pixels, int lineHeight)
{
    if (lineHeight <= kDesignLineHeight || pixels <= 0)
        return pixels;
    return (pixels * lineHeight + kDesignLineHeight - 1) / kDesignLineHeight;
}
