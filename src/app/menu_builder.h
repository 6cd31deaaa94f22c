// Builds the menu bar from the command table and keeps each menu item's check
// mark, enabled and visible state in step with its command.
#pragma once

#include "app/command_table.h"

#include <QList>
#include <map>
#include <string>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace kavlen {

// Top-level menus in menu bar order; a menu shows once it has a command.
inline constexpr const char* kMenuFile = "&File";
inline constexpr const char* kMenuEdit = "&Edit";
inline constexpr const char* kMenuTextures = "&Textures";
inline constexpr const char* kMenuPoints = "&Points";
inline constexpr const char* kMenuFaces = "F&aces";
inline constexpr const char* kMenuView = "&View";
inline constexpr const char* kMenuOptions = "&Options";
inline constexpr const char* kMenuHelp = "&Help";

class MenuBuilder {
  public:
    explicit MenuBuilder(CommandTable& table);
    ~MenuBuilder();
    MenuBuilder(const MenuBuilder&) = delete;
    MenuBuilder& operator=(const MenuBuilder&) = delete;

    // Fills the menu bar with every command that has a menu place.
    void build(QMenuBar* bar);
    // Every menu item's action, so other windows can take their shortcuts too.
    QList<QAction*> actions() const;
    QAction* action(CommandId id) const;
    // The menu of a Submenu command (e.g. Open Recent), for its owner to fill.
    QMenu* submenu(CommandId id) const;
    QMenu* menu(const std::string& caption) const;

  private:
    void sync(const Command& command);

    CommandTable& table_;
    std::map<CommandId, QAction*> actions_;
    std::map<CommandId, QMenu*> submenus_;
    std::map<std::string, QMenu*> menus_;
};

} // namespace kavlen
