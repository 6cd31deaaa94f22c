// Dialogs for tests: answers come from a queue the test fills, every question and
// message is recorded. A question without a fitting answer in the queue is
// recorded as unanswered and gets "cancel" (or "no").
#pragma once

#include "app/dialogs.h"

#include <deque>
#include <variant>
#include <vector>

namespace kavlen {

class ScriptedDialogs : public Dialogs {
  public:
    enum class Kind {
        OpenFile,
        SaveFile,
        Colour,
        Error,
        Warning,
        Information,
        WarningOkCancel,
        ConfirmOkCancel,
        ConfirmYesNo,
        SaveChanges,
    };

    struct Call {
        Kind kind = Kind::Error;
        std::string text; // message text; empty for file and colour dialogs
        FileDialogOptions file;
        std::uint32_t initialColour = 0; // colour dialog preset
        bool answered = true;
    };

    // Queue answers, consumed in order.
    void answerFile(const std::string& path) { answers_.emplace_back(path); }
    // Cancels the next file or colour dialog.
    void cancel() { answers_.emplace_back(Cancel{}); }
    void answerColour(std::uint32_t colour) { answers_.emplace_back(colour); }
    void answer(bool okOrYes) { answers_.emplace_back(okOrYes); }
    void answer(SaveChoice choice) { answers_.emplace_back(choice); }

    const std::vector<Call>& calls() const { return calls_; }
    // Calls of one kind, in order.
    std::vector<Call> callsOf(Kind kind) const;
    std::size_t unanswered() const;
    std::size_t pendingAnswers() const { return answers_.size(); }
    void clear();

    std::optional<std::string> openFile(const FileDialogOptions& options) override;
    std::optional<std::string> saveFile(const FileDialogOptions& options) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override;
    void showError(const std::string& text) override;
    void showWarning(const std::string& text) override;
    void showInformation(const std::string& text) override;
    bool askWarningOkCancel(const std::string& text) override;
    bool confirmOkCancel(const std::string& text) override;
    bool confirmYesNo(const std::string& text) override;
    SaveChoice askSaveChanges(const std::string& text) override;

  private:
    struct Cancel {};
    using Answer = std::variant<std::string, Cancel, std::uint32_t, bool, SaveChoice>;

    // Records the call and takes the next answer when it is a T (or a Cancel).
    template <typename T> std::optional<T> take(Call call);

    std::deque<Answer> answers_;
    std::vector<Call> calls_;
};

} // namespace kavlen
