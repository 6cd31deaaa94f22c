// The editor's commands: where each sits in the menus, its caption, shortcut and
// check mark, whether it needs a package, and what part of the document it
// touches. Menu items, buttons and other entry points all run commands through
// `execute`, so the guard and the document-change notifications live here only.
#pragma once

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

// Parts of the document a command may change (a bit set).
enum Touches : unsigned {
    TouchesNothing = 0,
    TouchesWholeDocument = 1u << 0, // replaces the package (open)
    TouchesAtlas = 1u << 1,         // texel data and pages
    TouchesSamples = 1u << 2,       // texture sample table
    TouchesCurrentMesh = 1u << 3,   // the mesh slot shown in the render window
    TouchesMeshes = 1u << 4,        // any mesh slot, or slots added
    TouchesStatics = 1u << 5,       // static objects and their boxes
    TouchesMoveables = 1u << 6,
};

struct Command {
    enum class Kind {
        Action,  // a menu item (or an entry point without one)
        Submenu, // a submenu that its owner fills, e.g. Open Recent
    };

    std::string id; // stable name, e.g. "Open"
    Kind kind = Kind::Action;

    // Menu placement. `menu` is a top-level menu caption ("&File"); `submenu`,
    // when set, a submenu caption inside it. Items are ordered by `position`
    // (ties keep the order of adding); `separatorBefore` draws a line above.
    std::string menu;
    std::string submenu;
    int position = 0;
    bool separatorBefore = false;
    bool inMenu = true; // false: reachable only from buttons or code

    std::string caption;  // with its access key: "&Open"
    std::string shortcut; // portable text: "F3", "Ctrl+S", "Shift+F10"
    std::string hint;     // shown in the status bar while the item is highlighted

    bool checkable = false;
    bool checked = false;
    std::string exclusiveGroup; // checkable commands of one group check one at a time
    bool visible = true;
    bool enabled = true;

    Guard guard = Guard::None;
    unsigned touches = TouchesNothing;

    // The work. `argument` is empty from a menu; entry points may pass one
    // (Open takes the path to open).
    std::function<void(const std::string& argument)> run;
};

// Told about every command that passes the guard; the undo stack will be one.
class CommandObserver {
  public:
    virtual ~CommandObserver() = default;
    virtual void commandStarting(const Command& command) = 0;
    virtual void commandFinished(const Command& command) = 0;
};

class CommandTable {
  public:
    // `packageLoaded` tells whether a package is open; `refuse` shows the guard's
    // message in an error box.
    CommandTable(std::function<bool()> packageLoaded, std::function<void(std::string_view)> refuse);

    Command& add(Command command);
    Command* find(std::string_view id);
    const Command* find(std::string_view id) const;
    const std::deque<Command>& commands() const { return commands_; }

    // Runs a command through the guard. Returns false when it did not run (no
    // such command, disabled, or refused by the guard). A checkable command
    // toggles its check mark before its work runs; one of an exclusive group is
    // checked (and the others unchecked).
    bool execute(std::string_view id, const std::string& argument = {});

    void setChecked(std::string_view id, bool checked);
    void setEnabled(std::string_view id, bool enabled);
    void setVisible(std::string_view id, bool visible);
    bool isChecked(std::string_view id) const;

    void addObserver(CommandObserver* observer);
    void removeObserver(CommandObserver* observer);
    // Called after a command's check, enabled or visible state changed, so the
    // menus follow.
    std::function<void(const Command&)> stateChanged;

  private:
    void notify(const Command& command);
    void check(Command& command, bool checked);

    std::function<bool()> packageLoaded_;
    std::function<void(std::string_view)> refuse_;
    std::deque<Command> commands_; // references stay valid as commands are added
    std::vector<CommandObserver*> observers_;
};

} // namespace kavlen
