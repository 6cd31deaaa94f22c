#include "app/open_procedure.h"

#include <algorithm>

namespace kavlen {

bool repaintsAfter(OpenStage stage) {
    switch (stage) {
    case OpenStage::ClearMainWindow:
    case OpenStage::ClearRenderWindow:
    case OpenStage::ClearImagesAndStatus:
    case OpenStage::UploadTextures:
    case OpenStage::FillTextureLists:
        return true;
    default:
        return false;
    }
}

void OpenProcedure::addStep(OpenStage stage, Step step) {
    // Keep the list sorted by stage, later additions after earlier ones.
    const auto at = std::upper_bound(steps_.begin(), steps_.end(), stage,
                                     [](OpenStage s, const Entry& e) { return s < e.stage; });
    steps_.insert(at, Entry{stage, std::move(step)});
}

void OpenProcedure::run(Package& wad, const std::function<void()>& pump) const {
    for (std::size_t i = 0; i < steps_.size(); ++i) {
        steps_[i].step(wad);
        const bool stageEnds = i + 1 == steps_.size() || steps_[i + 1].stage != steps_[i].stage;
        if (stageEnds && pump && repaintsAfter(steps_[i].stage))
            pump();
    }
}

} // namespace kavlen
