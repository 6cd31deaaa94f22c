#include "textures/samples.h"

#include <algorithm>
#include <charconv>

namespace kavlen {

bool hasSample(const Package& wad, int index) {
    return index >= 0 &&
           std::uint32_t(index) < std::min<std::size_t>(wad.texInfoCount, kMaxTexInfos);
}

PageRect sampleRect(const TexInfo& info) {
    return {info.x, info.y, info.x + info.width, info.y + info.height};
}

std::optional<SampleMark> sampleMark(const Package& wad, int index) {
    if (!hasSample(wad, index))
        return std::nullopt;
    const TexInfo& t = wad.texInfos[index];
    return SampleMark{t.page, sampleRect(t)};
}

std::optional<Bitmap24> samplePicture(const Package& wad, int index) {
    if (!hasSample(wad, index))
        return std::nullopt;
    const TexInfo& t = wad.texInfos[index];
    return copyPageRect(wad, t.page, sampleRect(t));
}

std::string textureLabel(int index) {
    return "Texture#" + std::to_string(index);
}
std::string pageLabel(int page) {
    return "Page#" + std::to_string(page);
}

std::string sampleSizeLabel(const TexInfo& info) {
    return std::to_string(info.width + 1) + " x " + std::to_string(info.height + 1);
}

std::string findGroupCaption(int index, const TexInfo& info) {
    return textureLabel(index) + "  (" + std::to_string(info.width + 1) + "x" +
           std::to_string(info.height + 1) + ")";
}

std::vector<SampleHit> hitTest(const Package& wad, int page, int x, int y) {
    std::vector<SampleHit> hits;
    const std::size_t count = std::min<std::size_t>(wad.texInfoCount, kMaxTexInfos);
    for (std::size_t i = 0; i < count; ++i) {
        const TexInfo& t = wad.texInfos[i];
        if (t.page == page && sampleRect(t).contains(x, y))
            hits.push_back({static_cast<int>(i), t.width + 1, t.height + 1});
    }
    return hits;
}

std::string pickedCaption(std::size_t hits) {
    return hits == 0 ? "Not picked" : std::to_string(hits) + " tex picked";
}

std::string chooseEntry(const SampleHit& hit) {
    return textureLabel(hit.index) + " " + std::to_string(hit.width) + " x " +
           std::to_string(hit.height);
}

int chooseEntrySample(const std::string& entry) {
    const std::string label = entry.substr(0, entry.find(' '));
    const std::string prefix = "Texture#";
    if (label.size() <= prefix.size() || label.compare(0, prefix.size(), prefix) != 0)
        return -1;
    int value = -1;
    const char* first = label.data() + prefix.size();
    const char* last = label.data() + label.size();
    auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last || value < 0 || label != textureLabel(value))
        return -1;
    return value;
}

int previewZoom(int w, int h) {
    int zoom = 2;
    if (w <= 128 && h <= 128)
        zoom = 4;
    if (w <= 64 && h <= 64)
        zoom = 4;
    if (w <= 32 && h <= 32)
        zoom = 8;
    if (w <= 16 && h <= 16)
        zoom = 16;
    if (w <= 8 && h <= 8)
        zoom = 32;
    return zoom;
}

Bitmap24 previewPicture(const Bitmap24& picture) {
    return enlargeBitmap(picture, previewZoom(picture.width, picture.height));
}

DisplaySize sampleBoxSize(int w, int h, int box) {
    if (w <= box && h <= box)
        return {w, h};
    if (w >= h)
        return {box, std::max(1, (h * box + w / 2) / w)};
    return {std::max(1, (w * box + h / 2) / h), box};
}

} // namespace kavlen
