// Questions that texture commands put to the user. The editor answers them with
// message boxes, the command-line tool from its options, tests from a script.
#pragma once

#include "document/messages.h"

#include <functional>
#include <string>

namespace kavlen {

struct UserQuestion {
    enum class Buttons { OkCancel, YesNo };
    MessageKind kind = MessageKind::Confirmation; // box kind to show it in
    std::string text;
    Buttons buttons = Buttons::YesNo;
    bool operator==(const UserQuestion&) const = default;
};

// Returns true for OK or Yes, false for Cancel, No or a closed box.
using AskUser = std::function<bool(const UserQuestion&)>;

} // namespace kavlen
