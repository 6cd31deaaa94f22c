#include "app/command_table.h"

#include <algorithm>
#include <stdexcept>

namespace kavlen {

CommandTable::CommandTable(std::function<bool()> packageLoaded,
                           std::function<void(std::string_view)> refuse)
    : packageLoaded_(std::move(packageLoaded)), refuse_(std::move(refuse)) {}

Command& CommandTable::add(Command command) {
    if (find(command.id))
        throw std::logic_error("command added twice: " + command.id.str());
    commands_.push_back(std::move(command));
    return commands_.back();
}

Command* CommandTable::find(CommandId id) {
    auto it = std::find_if(commands_.begin(), commands_.end(),
                           [&](const Command& c) { return c.id == id; });
    return it == commands_.end() ? nullptr : &*it;
}

const Command* CommandTable::find(CommandId id) const {
    return const_cast<CommandTable*>(this)->find(id);
}

Command& CommandTable::require(CommandId id) {
    Command* command = find(id);
    if (!command)
        throw std::logic_error("no such command: " + id.str());
    return *command;
}

bool CommandTable::execute(CommandId id, const std::string& argument) {
    Command* command = &require(id);
    if (!command->enabled || command->kind != Command::Kind::Action)
        return false;
    if (command->guard != Guard::None && !packageLoaded_()) {
        if (command->guard == Guard::RequiresPackage)
            refuse_(kNoWadOpened);
        return false;
    }
    if (command->checkable)
        check(*command, command->exclusiveGroup.empty() ? !command->checked : true);
    // The work may change the table's entries (captions, states); it runs from a
    // copy.
    const Command running = *command;
    if (running.run)
        running.run(argument);
    return true;
}

void CommandTable::check(Command& command, bool checked) {
    if (checked && !command.exclusiveGroup.empty()) {
        for (Command& other : commands_) {
            if (&other != &command && other.exclusiveGroup == command.exclusiveGroup &&
                other.checked) {
                other.checked = false;
                notify(other);
            }
        }
    }
    if (command.checked == checked)
        return;
    command.checked = checked;
    notify(command);
}

void CommandTable::setChecked(CommandId id, bool checked) {
    check(require(id), checked);
}

void CommandTable::setEnabled(CommandId id, bool enabled) {
    Command* c = &require(id);
    if (c->enabled != enabled) {
        c->enabled = enabled;
        notify(*c);
    }
}

void CommandTable::setVisible(CommandId id, bool visible) {
    Command* c = &require(id);
    if (c->visible != visible) {
        c->visible = visible;
        notify(*c);
    }
}

void CommandTable::setCaption(CommandId id, const std::string& caption) {
    Command* c = &require(id);
    if (c->caption != caption) {
        c->caption = caption;
        notify(*c);
    }
}

bool CommandTable::isChecked(CommandId id) const {
    return const_cast<CommandTable*>(this)->require(id).checked;
}

void CommandTable::notify(const Command& command) {
    if (stateChanged)
        stateChanged(command);
}

} // namespace kavlen
