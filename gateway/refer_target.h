// What a flash-and-dial on a board line becomes on SIP: the digits of a blind transfer.
// "&,,201" transfers to "201", "&,,9,,5550123" to "95550123". A REFER target is only ever
// made of 0-9, * and #, so nothing the program dials can reach into a SIP header.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zelgate {

// The digits, or nothing when the dial string is not a transfer (no leading flash), holds
// a character that is neither a digit, '*', '#', ',' nor '&', or leaves no digits.
std::optional<std::string> refer_digits(std::string_view dial);

}  // namespace zelgate
