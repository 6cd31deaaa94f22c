// What the user has selected: the mesh shown and edited, the samples picked on
// the page, the page and the cutting shape, the picked vertex. The editor owns
// the one selection; windows read it and are told when another window changes
// it. Qt-free, so commands and tests use it without widgets.
#pragma once

#include "document/listener_list.h"
#include "textures/cutting_shape.h"

namespace kavlen {

class EditorSelection {
  public:
    enum class Part { Mesh, Sample, OtherSample, Page, CuttingShape, PickedVertex };

    int meshSlot() const { return meshSlot_; } // the mesh shown; -1 while none
    int sample() const { return sample_; }     // the selected sample; -1 while none
    int otherSample() const { return otherSample_; }
    int page() const { return page_; }
    int pickedVertex() const { return pickedVertex_; }
    CuttingShape& cuttingShape() { return shape_; }
    const CuttingShape& cuttingShape() const { return shape_; }

    // Each setter tells the listeners when the value changed.
    void setMeshSlot(int slot) { set(meshSlot_, slot, Part::Mesh); }
    void setSample(int sample) { set(sample_, sample, Part::Sample); }
    void setOtherSample(int sample) { set(otherSample_, sample, Part::OtherSample); }
    void setPage(int page) { set(page_, page, Part::Page); }
    void setPickedVertex(int vertex) { set(pickedVertex_, vertex, Part::PickedVertex); }
    // The shape is changed in place; this tells the listeners.
    void cuttingShapeChanged() { changed_.notify(Part::CuttingShape); }

    // Another package: nothing is selected.
    void clear() {
        setMeshSlot(-1);
        setSample(-1);
        setOtherSample(-1);
        setPage(0);
        setPickedVertex(-1);
        shape_ = CuttingShape{};
        cuttingShapeChanged();
    }

    [[nodiscard]] Subscription onChange(std::function<void(Part)> listener) {
        return changed_.add(std::move(listener));
    }

  private:
    void set(int& field, int value, Part part) {
        if (field == value)
            return;
        field = value;
        changed_.notify(part);
    }

    int meshSlot_ = -1;
    int sample_ = -1;
    int otherSample_ = -1;
    int page_ = 0;
    int pickedVertex_ = -1;
    CuttingShape shape_;
    ListenerList<Part> changed_;
};

} // namespace kavlen
