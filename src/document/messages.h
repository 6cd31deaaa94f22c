// Messages that core operations hand back to their caller to show. The core never
// shows anything itself; the editor shows each message in the box of its kind,
// the command-line tool prints it.
#pragma once

#include <string>
#include <vector>

namespace kavlen {

enum class MessageKind {
    Error,        // error box with OK (refusals)
    Warning,      // warning box with OK
    Confirmation, // confirmation box
    Information,  // plain box with OK (results, format errors)
    Status,       // main window status bar
};

struct Message {
    MessageKind kind = MessageKind::Information;
    std::string text;
    bool operator==(const Message&) const = default;
};

using Messages = std::vector<Message>;

} // namespace kavlen
