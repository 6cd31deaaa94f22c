// The one edit path: every change to the package runs through `edit`, which
// records an undoable step only when the package really changed and tells the
// listeners what changed. A step keeps copies of just the parts the edit
// changed (a mesh slot, the sample table, atlas pages, ...), taken before the
// edit; undo and redo swap them with the package's current parts.
#pragma once

#include "document/document_change.h"
#include "document/listener_list.h"
#include "document/package_snapshot.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>

namespace kavlen {

inline constexpr std::size_t kDefaultHistoryBudget = std::size_t(256) << 20;

class EditHistory {
  public:
    explicit EditHistory(Package& wad, std::size_t memoryBudget = kDefaultHistoryBudget);

    // Runs `work` on the package. When the parts `scope` names changed, records a
    // step captioned `caption` (read after the work ran, so that the work may
    // name what it did), tells the listeners and returns the change; when
    // nothing changed, records and tells nothing. A `mergeKey` lets a run of
    // edits (a drag of light painting) become one step: an edit whose key equals
    // the last step's, and that changes only parts the last step covers, joins
    // it. When `work` throws, the package is put back as it was and the
    // exception passes on.
    DocumentChange edit(const std::string& caption, const EditScope& scope,
                        const std::function<void()>& work, const std::string& mergeKey = {});

    bool canUndo() const { return applied_ > 0; }
    bool canRedo() const { return applied_ < steps_.size(); }
    std::string undoCaption() const; // empty when there is nothing to undo
    std::string redoCaption() const;
    DocumentChange undo();
    DocumentChange redo();

    // Another package was loaded: no step applies to it any more. Tells the
    // listeners that everything changed.
    void packageReplaced();
    // The package was saved (or opened): it is clean at the current step.
    void markSaved();
    // Whether the package differs from the one last opened or saved.
    bool isModified() const { return !savedAt_ || *savedAt_ != applied_; }

    std::size_t stepCount() const { return steps_.size(); }
    std::size_t undoableSteps() const { return applied_; }
    std::size_t memoryUsed() const { return memoryUsed_; }
    std::size_t memoryBudget() const { return memoryBudget_; }
    // Bytes the step that the next undo takes back holds; 0 when none.
    std::size_t lastStepBytes() const;

    // Told after every edit, undo and redo that changed something, and after a
    // package was replaced.
    [[nodiscard]] Subscription onChange(std::function<void(const DocumentChange&)> listener) {
        return changed_.add(std::move(listener));
    }
    // Told when the undo/redo captions or the modified state may have changed.
    [[nodiscard]] Subscription onStateChange(std::function<void()> listener) {
        return stateChanged_.add(std::move(listener));
    }

  private:
    struct Step {
        std::string caption;
        std::string mergeKey;
        EditScope scope;
        PackageSnapshot snapshot; // the other state: before (when applied) or after
        DocumentChange change;
        std::size_t bytes = 0;
    };

    DocumentChange swapStep(Step& step);
    void dropOldestOverBudget();
    void announce(const DocumentChange& change);

    Package& wad_;
    std::size_t memoryBudget_;
    std::deque<Step> steps_;
    std::size_t applied_ = 0;                // steps_[0, applied_) are done
    std::optional<std::size_t> savedAt_ = 0; // applied_ at the last save; none when unreachable
    std::size_t memoryUsed_ = 0;
    ListenerList<const DocumentChange&> changed_;
    ListenerList<> stateChanged_;
};

} // namespace kavlen
