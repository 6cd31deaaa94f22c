#include "app/scripted_dialogs.h"

#include <algorithm>
#include <type_traits>

namespace kavlen {

std::vector<ScriptedDialogs::Call> ScriptedDialogs::callsOf(Kind kind) const {
    std::vector<Call> result;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(result),
                 [&](const Call& c) { return c.kind == kind; });
    return result;
}

std::size_t ScriptedDialogs::unanswered() const {
    return static_cast<std::size_t>(
        std::count_if(calls_.begin(), calls_.end(), [](const Call& c) { return !c.answered; }));
}

void ScriptedDialogs::clear() {
    calls_.clear();
    answers_.clear();
}

namespace {

ScriptedDialogs::Call makeCall(ScriptedDialogs::Kind kind, const std::string& text = {},
                               const FileDialogOptions& file = {}, std::uint32_t colour = 0) {
    ScriptedDialogs::Call call;
    call.kind = kind;
    call.text = text;
    call.file = file;
    call.initialColour = colour;
    return call;
}

} // namespace

template <typename T> std::optional<T> ScriptedDialogs::take(Call call) {
    std::optional<T> result;
    if (!answers_.empty() && std::holds_alternative<T>(answers_.front())) {
        result = std::get<T>(answers_.front());
        answers_.pop_front();
    } else if (!std::is_same_v<T, bool> && !std::is_same_v<T, SaveChoice> && !answers_.empty() &&
               std::holds_alternative<Cancel>(answers_.front())) {
        answers_.pop_front();
    } else {
        call.answered = false;
    }
    calls_.push_back(std::move(call));
    return result;
}

std::optional<std::string> ScriptedDialogs::openFile(const FileDialogOptions& options) {
    return take<std::string>(makeCall(Kind::OpenFile, {}, options));
}

std::optional<std::string> ScriptedDialogs::saveFile(const FileDialogOptions& options) {
    return take<std::string>(makeCall(Kind::SaveFile, {}, options));
}

std::optional<std::uint32_t> ScriptedDialogs::chooseColour(std::uint32_t initial) {
    return take<std::uint32_t>(makeCall(Kind::Colour, {}, {}, initial));
}

void ScriptedDialogs::showError(const std::string& text) {
    calls_.push_back(makeCall(Kind::Error, text));
}

void ScriptedDialogs::showWarning(const std::string& text) {
    calls_.push_back(makeCall(Kind::Warning, text));
}

void ScriptedDialogs::showInformation(const std::string& text) {
    calls_.push_back(makeCall(Kind::Information, text));
}

bool ScriptedDialogs::askWarningOkCancel(const std::string& text) {
    return take<bool>(makeCall(Kind::WarningOkCancel, text)).value_or(false);
}

bool ScriptedDialogs::confirmOkCancel(const std::string& text) {
    return take<bool>(makeCall(Kind::ConfirmOkCancel, text)).value_or(false);
}

bool ScriptedDialogs::confirmYesNo(const std::string& text) {
    return take<bool>(makeCall(Kind::ConfirmYesNo, text)).value_or(false);
}

SaveChoice ScriptedDialogs::askSaveChanges(const std::string& text) {
    return take<SaveChoice>(makeCall(Kind::SaveChanges, text)).value_or(SaveChoice::Cancel);
}

} // namespace kavlen
