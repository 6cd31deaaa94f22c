#include "document/edit_history.h"

#include <algorithm>

namespace kavlen {

namespace {

bool covers(const EditScope& outer, const EditScope& inner) {
    if (outer.wholePackage)
        return true;
    if (inner.wholePackage || (inner.meshTables && !outer.meshTables) ||
        (inner.samples && !outer.samples) || (inner.wholeAtlas && !outer.wholeAtlas) ||
        (inner.statics && !outer.statics) || (inner.allMeshSlots && !outer.allMeshSlots))
        return false;
    const auto contains = [](const std::vector<int>& set, int v) {
        return std::find(set.begin(), set.end(), v) != set.end();
    };
    if (!outer.allMeshSlots)
        for (int slot : inner.meshSlots)
            if (!contains(outer.meshSlots, slot))
                return false;
    if (!outer.wholeAtlas)
        for (int page : inner.atlasPages)
            if (!contains(outer.atlasPages, page))
                return false;
    return true;
}

void mergeSorted(std::vector<int>& into, const std::vector<int>& more) {
    into.insert(into.end(), more.begin(), more.end());
    std::sort(into.begin(), into.end());
    into.erase(std::unique(into.begin(), into.end()), into.end());
}

void mergeChange(DocumentChange& into, const DocumentChange& more) {
    into.wholePackage |= more.wholePackage;
    mergeSorted(into.meshSlots, more.meshSlots);
    into.meshTables |= more.meshTables;
    mergeSorted(into.samples, more.samples);
    into.sampleCount |= more.sampleCount;
    into.sampleTable |= more.sampleTable;
    mergeSorted(into.pages, more.pages);
    into.pageCount |= more.pageCount;
    into.statics |= more.statics;
}

} // namespace

EditHistory::EditHistory(Package& wad, std::size_t memoryBudget)
    : wad_(wad), memoryBudget_(memoryBudget) {}

DocumentChange EditHistory::edit(const std::string& caption, const EditScope& scope,
                                 const std::function<void()>& work, const std::string& mergeKey) {
    PackageSnapshot before = capturePackage(wad_, scope, wad_.meshes.size());
    const std::size_t tailFrom = wad_.meshes.size();
    try {
        work();
    } catch (...) {
        restorePackage(wad_, std::move(before));
        throw;
    }
    DocumentChange change = comparePackage(before, wad_, tailFrom);
    if (change.empty())
        return change;

    Step step;
    step.caption = caption;
    step.mergeKey = mergeKey;
    step.scope = pruneSnapshot(before, change);
    step.snapshot = std::move(before);
    step.change = change;
    step.bytes = step.snapshot.bytes();

    // Steps undone before this edit can no longer be redone.
    while (steps_.size() > applied_) {
        memoryUsed_ -= steps_.back().bytes;
        steps_.pop_back();
    }
    if (savedAt_ && *savedAt_ > applied_)
        savedAt_.reset();

    const bool merge = !mergeKey.empty() && applied_ > 0 && steps_.back().mergeKey == mergeKey &&
                       savedAt_ != applied_ && covers(steps_.back().scope, step.scope);
    if (merge) {
        // The last step's copies already hold the state before this edit too.
        mergeChange(steps_.back().change, change);
    } else {
        memoryUsed_ += step.bytes;
        steps_.push_back(std::move(step));
        ++applied_;
        dropOldestOverBudget();
    }
    announce(change);
    return change;
}

DocumentChange EditHistory::swapStep(Step& step) {
    // The package's current state of the step's parts becomes the step's copy, and
    // the copy goes back into the package.
    const std::size_t tailFrom =
        step.snapshot.tables ? std::min(step.snapshot.tables->meshSlotCount, wad_.meshes.size())
                             : wad_.meshes.size();
    PackageSnapshot current = capturePackage(wad_, step.scope, tailFrom);
    restorePackage(wad_, std::move(step.snapshot));
    step.snapshot = std::move(current);
    memoryUsed_ -= step.bytes;
    step.bytes = step.snapshot.bytes();
    memoryUsed_ += step.bytes;
    return step.change;
}

DocumentChange EditHistory::undo() {
    if (!canUndo())
        return {};
    const DocumentChange change = swapStep(steps_[--applied_]);
    announce(change);
    return change;
}

DocumentChange EditHistory::redo() {
    if (!canRedo())
        return {};
    const DocumentChange change = swapStep(steps_[applied_++]);
    announce(change);
    return change;
}

std::string EditHistory::undoCaption() const {
    return canUndo() ? steps_[applied_ - 1].caption : std::string();
}

std::string EditHistory::redoCaption() const {
    return canRedo() ? steps_[applied_].caption : std::string();
}

std::size_t EditHistory::lastStepBytes() const {
    return canUndo() ? steps_[applied_ - 1].bytes : 0;
}

void EditHistory::packageReplaced() {
    steps_.clear();
    applied_ = 0;
    savedAt_ = 0;
    memoryUsed_ = 0;
    announce(DocumentChange::opened());
}

void EditHistory::markSaved() {
    savedAt_ = applied_;
    stateChanged_.notify();
}

void EditHistory::dropOldestOverBudget() {
    // The newest step stays even when it alone is over the budget.
    while (memoryUsed_ > memoryBudget_ && steps_.size() > 1 && applied_ > 1) {
        memoryUsed_ -= steps_.front().bytes;
        steps_.pop_front();
        --applied_;
        if (savedAt_)
            savedAt_ = *savedAt_ == 0 ? std::optional<std::size_t>() : *savedAt_ - 1;
    }
}

void EditHistory::announce(const DocumentChange& change) {
    changed_.notify(change);
    stateChanged_.notify();
}

} // namespace kavlen
