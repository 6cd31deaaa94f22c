#include "app/command_table.h"

#include <algorithm>
#include <stdexcept>

namespace kavlen {

CommandTable::CommandTable(std::function<bool()> packageLoaded,
                           std::function<void(std::string_view)> refuse)
    : packageLoaded_(std::move(packageLoaded)), refuse_(std::move(refuse)) {}

Command& CommandTable::add(Command command) {
    if (find(command.id))
        throw std::logic_error("command added twice: " + command.id);
    commands_.push_back(std::move(command));
    return commands_.back();
}

Command* CommandTable::find(std::string_view id) {
    auto it = std::find_if(commands_.begin(), commands_.end(),
                           [&](const Command& c) { return c.id == id; });
    return it == commands_.end() ? nullptr : &*it;
}

const Command* CommandTable::find(std::string_view id) const {
    return const_cast<CommandTable*>(this)->find(id);
}

bool CommandTable::execute(std::string_view id, const std::string& argument) {
    Command* command = find(id);
    if (!command || !command->enabled || command->kind != Command::Kind::Action)
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
    for (CommandObserver* o : observers_)
        o->commandStarting(running);
    if (running.run)
        running.run(argument);
    for (CommandObserver* o : observers_)
        o->commandFinished(running);
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

void CommandTable::setChecked(std::string_view id, bool checked) {
    if (Command* c = find(id))
        check(*c, checked);
}

void CommandTable::setEnabled(std::string_view id, bool enabled) {
    Command* c = find(id);
    if (c && c->enabled != enabled) {
        c->enabled = enabled;
        notify(*c);
    }
}

void CommandTable::setVisible(std::string_view id, bool visible) {
    Command* c = find(id);
    if (c && c->visible != visible) {
        c->visible = visible;
        notify(*c);
    }
}

bool CommandTable::isChecked(std::string_view id) const {
    const Command* c = find(id);
    return c && c->checked;
}

void CommandTable::addObserver(CommandObserver* observer) {
    observers_.push_back(observer);
}

void CommandTable::removeObserver(CommandObserver* observer) {
    std::erase(observers_, observer);
}

void CommandTable::notify(const Command& command) {
    if (stateChanged)
        stateChanged(command);
}

} // namespace kavlen
