#include "textures/cutting_shape.h"

#include <algorithm>

namespace kavlen {

namespace {

int clampToPage(int v) {
    return std::clamp(v, 0, kAtlasWidth - 1);
}

} // namespace

void CuttingShape::start(int onPage, int x, int y) {
    x0 = x1 = clampToPage(x);
    y0 = y1 = clampToPage(y);
    page = onPage;
    active = true;
    dragging = true;
}

bool CuttingShape::dragTo(int x, int y) {
    if (!dragging)
        return false;
    x1 = clampToPage(x);
    y1 = clampToPage(y);
    return true;
}

bool CuttingShape::finish(const std::optional<SampleMark>& selected) {
    const PageRect r = rect();
    x0 = r.left;
    x1 = r.right;
    y0 = r.top;
    y1 = r.bottom;
    bool snapped = false;
    if (active && selected && selected->page == page && r.overlaps(selected->rect)) {
        x0 = std::max(x0, selected->rect.left);
        y0 = std::max(y0, selected->rect.top);
        x1 = std::min(x1, selected->rect.right);
        y1 = std::min(y1, selected->rect.bottom);
        snapped = true;
    }
    dragging = false;
    return snapped;
}

PageRect CuttingShape::rect() const {
    return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

std::string CuttingShape::label() const {
    if (!active)
        return "Cut Shape:";
    const PageRect r = rect();
    return "Cut Shape: (x=" + std::to_string(r.left) + ", y=" + std::to_string(r.top) + ")      " +
           std::to_string(r.width()) + " x " + std::to_string(r.height());
}

bool spinShape(CuttingShape& s, int currentPage, ShapeSpinButton button, SpinHalf half, bool ctrl) {
    if (!s.usableOn(currentPage))
        return false;
    const bool up = half == SpinHalf::Up;
    for (int step = 0; step < (ctrl ? 4 : 1); ++step) {
        switch (button) {
        case ShapeSpinButton::LeftPlusMinus:
            if (up && s.x0 > 0)
                --s.x0;
            else if (!up && s.x0 < 255 && s.x0 != s.x1)
                ++s.x0;
            break;
        case ShapeSpinButton::HeightPlus:
            if (up && s.y0 > 0)
                --s.y0;
            else if (!up && s.y1 < 255)
                ++s.y1;
            break;
        case ShapeSpinButton::HeightMinus:
            if (up && s.y0 < 255 && s.y0 != s.y1)
                ++s.y0;
            else if (!up && s.y1 >= 1 && s.y1 != s.y0)
                --s.y1;
            break;
        case ShapeSpinButton::RightPlusMinus:
            if (up && s.x1 < 255)
                ++s.x1;
            else if (!up && s.x1 >= 1 && s.x1 != s.x0)
                --s.x1;
            break;
        }
    }
    return true;
}

std::optional<Bitmap24> shapePicture(const Package& wad, const CuttingShape& shape) {
    if (!shape.active)
        return std::nullopt;
    return copyPageRect(wad, shape.page, shape.rect());
}

CutResult cutFromShape(Package& wad, const CuttingShape& shape, int currentPage,
                       const AskUser& ask) {
    CutResult result;
    if (!requirePackage(wad, result.messages))
        return result;
    if (!shape.usableOn(currentPage))
        return result;
    if (wad.texInfoCount >= kMaxTexInfos) {
        result.messages.push_back({MessageKind::Error, "Cannot have more than 4096 textures."});
        return result;
    }
    const PageRect r = shape.rect();
    const int dw = r.right - r.left, dh = r.bottom - r.top;
    if (dw < 3 || dh < 3) {
        const UserQuestion q{MessageKind::Warning,
                             "Defined texture has width or height less than 4.\rPress OK to "
                             "continue.",
                             UserQuestion::Buttons::OkCancel};
        if (!ask || !ask(q))
            return result;
    }
    for (std::uint32_t j = 0; j < wad.texInfoCount; ++j) {
        const TexInfo& t = wad.texInfos[j];
        if (t.page == shape.page && sampleRect(t) == r) {
            result.messages.push_back(
                {MessageKind::Error, "Defined texture same as " + textureLabel(int(j))});
            return result;
        }
    }
    TexInfo& t = wad.texInfos[wad.texInfoCount];
    t.x = static_cast<std::uint8_t>(r.left);
    t.y = static_cast<std::uint8_t>(r.top);
    t.page = static_cast<std::uint16_t>(shape.page);
    t.xFlag = -1;
    t.width = static_cast<std::uint8_t>(dw);
    t.yFlag = -1;
    t.height = static_cast<std::uint8_t>(dh);
    result.sample = static_cast<int>(wad.texInfoCount++);
    result.added = true;
    return result;
}

} // namespace kavlen
