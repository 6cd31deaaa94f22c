#include "app/menu_builder.h"

#include "app/qt_text.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>
#include <array>

namespace kavlen {

MenuBuilder::MenuBuilder(CommandTable& table) : table_(table) {
    table_.stateChanged = [this](const Command& command) { sync(command); };
}

MenuBuilder::~MenuBuilder() {
    table_.stateChanged = nullptr;
}

void MenuBuilder::build(QMenuBar* bar) {
    constexpr std::array order = {kMenuFile,  kMenuEdit, kMenuTextures, kMenuPoints,
                                  kMenuFaces, kMenuView, kMenuOptions,  kMenuHelp};
    std::vector<const Command*> placed;
    for (const Command& c : table_.commands())
        if (c.inMenu && !c.menu.empty())
            placed.push_back(&c);
    std::stable_sort(placed.begin(), placed.end(),
                     [](const Command* a, const Command* b) { return a->position < b->position; });

    std::vector<std::string> captions(order.begin(), order.end());
    for (const Command* c : placed) // menus not in the usual list go last
        if (std::find(captions.begin(), captions.end(), c->menu) == captions.end())
            captions.push_back(c->menu);

    std::map<std::string, QActionGroup*> groups;
    for (const std::string& caption : captions) {
        QMenu* menu = nullptr;
        std::map<std::string, QMenu*> inner; // submenus of this menu by caption
        for (const Command* c : placed) {
            if (c->menu != caption)
                continue;
            if (!menu) {
                menu = bar->addMenu(toQt(caption));
                menus_[caption] = menu;
            }
            QMenu* target = menu;
            if (!c->submenu.empty()) {
                QMenu*& sub = inner[c->submenu];
                if (!sub) {
                    if (c->separatorBefore)
                        menu->addSeparator();
                    sub = menu->addMenu(toQt(c->submenu));
                }
                target = sub;
            } else if (c->separatorBefore) {
                menu->addSeparator();
            }

            if (c->kind == Command::Kind::Submenu) {
                QMenu* own = target->addMenu(toQt(c->caption));
                submenus_[c->id] = own;
                actions_[c->id] = own->menuAction();
            } else {
                QAction* a = target->addAction(toQt(c->caption));
                QList<QKeySequence> keys{
                    QKeySequence(toQt(c->shortcut), QKeySequence::PortableText)};
                if (!c->alternateShortcut.empty())
                    keys.push_back(
                        QKeySequence(toQt(c->alternateShortcut), QKeySequence::PortableText));
                a->setShortcuts(keys);
                a->setCheckable(c->checkable);
                if (!c->hint.empty())
                    a->setStatusTip(toQt(c->hint));
                if (!c->exclusiveGroup.empty()) {
                    QActionGroup*& group = groups[c->exclusiveGroup];
                    if (!group)
                        group = new QActionGroup(bar);
                    group->addAction(a);
                }
                const CommandId id = c->id;
                QObject::connect(a, &QAction::triggered, a, [this, id] {
                    table_.execute(id);
                    // The table holds the state; a refused toggle must not stay flipped.
                    if (const Command* now = table_.find(id))
                        sync(*now);
                });
                actions_[c->id] = a;
            }
            sync(*c);
        }
    }
}

void MenuBuilder::sync(const Command& command) {
    const auto it = actions_.find(command.id);
    if (it == actions_.end())
        return;
    QAction* a = it->second;
    if (command.kind == Command::Kind::Action)
        a->setText(toQt(command.caption));
    a->setChecked(command.checked);
    a->setEnabled(command.enabled);
    a->setVisible(command.visible);
}

QList<QAction*> MenuBuilder::actions() const {
    QList<QAction*> list;
    for (const auto& [id, a] : actions_)
        if (!submenus_.contains(id))
            list.push_back(a);
    return list;
}

QAction* MenuBuilder::action(CommandId id) const {
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

QMenu* MenuBuilder::submenu(CommandId id) const {
    const auto it = submenus_.find(id);
    return it == submenus_.end() ? nullptr : it->second;
}

QMenu* MenuBuilder::menu(const std::string& caption) const {
    const auto it = menus_.find(caption);
    return it == menus_.end() ? nullptr : it->second;
}

} // namespace kavlen
