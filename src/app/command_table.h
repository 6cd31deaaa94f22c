// The editor's commands: where each sits in the menus, its caption, shortcut and
// check mark, and whether it needs a package. Menu items and shortcuts run
// commands through `execute`, so the guard lives here only. Commands that change
// the package do so through the editor's edit history, which tells the views.
#pragma once

#include "app/command_id.h"

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kavlen {

inline constexpr const char* kNoWadOpened = "No wad opened.";

enum class Guard {
    None,                 // runs with or without a package
    RequiresPackage,      // refuses with "No wad opened." without a package
    SilentWithoutPackage, // does nothing, silently, without a package
};

struct Command {
    enum class Kind {
        Action,  // a menu item (or an entry point without one)
        Submenu, // a submenu that its owner fills, e.g. Open Recent
    };

    CommandId id; // stable name, e.g. "Open"
    Kind kind = Kind::Action;

    // Menu placement. `menu` is a top-level menu caption ("&File"); `submenu`,
    // when set, a submenu caption inside it. Items are ordered by `position`
    // (ties keep the order of adding); `separatorBefore` draws a line above.
    std::string menu;
    std::string submenu;
    int position = 0;
    bool separatorBefore = false;
    bool inMenu = true; // false: reachable only from buttons or code

    std::string caption;           // with its access key: "&Open"
    std::string shortcut;          // portable text: "F3", "Ctrl+S", "Shift+F10"
    std::string alternateShortcut; // a second key for the same item, e.g. "Ctrl+Shift+Z"
    std::string hint;              // shown in the status bar while the item is highlighted

    bool checkable = false;
    bool checked = false;
    std::string exclusiveGroup; // checkable commands of one group check one at a time
    bool visible = true;
    bool enabled = true;

    Guard guard = Guard::None;

    // The work. `argument` is empty from a menu; entry points may pass one
    // (Open takes the path to open).
    std::function<void(const std::string& argument)> run;
};

class CommandTable {
  public:
    // `packageLoaded` tells whether a package is open; `refuse` shows the guard's
    // message in an error box.
    CommandTable(std::function<bool()> packageLoaded, std::function<void(std::string_view)> refuse);

    Command& add(Command command);
    Command* find(CommandId id);
    const Command* find(CommandId id) const;
    const std::deque<Command>& commands() const { return commands_; }

    // Runs a command through the guard. Returns false when it did not run
    // (disabled, or refused by the guard); an id that was never added throws. A checkable command
    // toggles its check mark before its work runs; one of an exclusive group is
    // checked (and the others unchecked).
    bool execute(CommandId id, const std::string& argument = {});

    void setChecked(CommandId id, bool checked);
    void setEnabled(CommandId id, bool enabled);
    void setVisible(CommandId id, bool visible);
    void setCaption(CommandId id, const std::string& caption);
    bool isChecked(CommandId id) const;

    // Called after a command's check, enabled, visible state or caption changed,
    // so the menus follow.
    std::function<void(const Command&)> stateChanged;

  private:
    void notify(const Command& command);
    void check(Command& command, bool checked);
    Command& require(CommandId id);

    std::function<bool()> packageLoaded_;
    std::function<void(std::string_view)> refuse_;
    std::deque<Command> commands_; // references stay valid as commands are added
};

} // namespace kavlen
