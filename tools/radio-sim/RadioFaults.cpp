// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/radio-sim/RadioFaults.h"

#include "base/NumberText.h"

std::optional<ExchangePoint> ParseExchangePoint(const std::string& text)
{
    using Kind = ExchangePoint::Kind;
    if (text == "program")
        return ExchangePoint{Kind::Program, 0};
    if (text == "ident")
        return ExchangePoint{Kind::Ident, 0};
    if (text == "auth")
        return ExchangePoint{Kind::Auth, 0};
    Kind kind = Kind::Block;
    std::string number = text;
    if (text.rfind("ack:", 0) == 0) {
        kind = Kind::Ack;
        number = text.substr(4);
    } else if (text.rfind("block:", 0) == 0) {
        number = text.substr(6);
    }
    std::optional<int> n = ParseInteger(number);
    if (!n || *n < 0)
        return std::nullopt;
    return ExchangePoint{kind, *n};
}

std::string ExchangePointText(const ExchangePoint& point)
{
    switch (point.kind) {
    case ExchangePoint::Kind::Program:
        return "program";
    case ExchangePoint::Kind::Ident:
        return "ident";
    case ExchangePoint::Kind::Auth:
        return "auth";
    case ExchangePoint::Kind::Ack:
        return "ack:" + std::to_string(point.number);
    case ExchangePoint::Kind::Block:
        return "block:" + std::to_string(point.number);
    }
    return {};
}
