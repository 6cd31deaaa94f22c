#include "textures/atlas_compaction.h"

#include "textures/atlas.h"
#include "textures/rectangle_packer.h"
#include "textures/samples.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <numeric>

namespace kavlen {

namespace {

// Samples on one page whose rectangles overlap, directly or through others.
struct Block {
    int page = 0;
    PageRect box;             // bounding box of the members
    std::vector<int> members; // old sample numbers
    int sameAs = -1;          // an earlier block with identical texels, or -1
};

std::size_t texelOffset(int page, int x, int y) {
    return (std::size_t(page) * kPageRows + std::size_t(y)) * kAtlasRowBytes + std::size_t(x) * 3;
}

int findRoot(std::vector<int>& parent, int i) {
    while (parent[i] != i)
        i = parent[i] = parent[parent[i]];
    return i;
}

std::vector<Block> blocksOf(const Package& wad, const std::vector<int>& kept) {
    // Group by page, then join overlapping rectangles: sorted by left edge, a
    // rectangle can only overlap those still open when it starts.
    std::vector<int> order = kept;
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const TexInfo &ta = wad.texInfos[a], &tb = wad.texInfos[b];
        return ta.page != tb.page ? ta.page < tb.page : ta.x < tb.x;
    });
    std::vector<int> parent(order.size());
    std::iota(parent.begin(), parent.end(), 0);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const TexInfo& ti = wad.texInfos[order[i]];
        const PageRect ri = sampleRect(ti);
        for (std::size_t j = i + 1; j < order.size(); ++j) {
            const TexInfo& tj = wad.texInfos[order[j]];
            if (tj.page != ti.page || tj.x > ri.right)
                break;
            if (ri.overlaps(sampleRect(tj)))
                parent[findRoot(parent, int(j))] = findRoot(parent, int(i));
        }
    }
    std::vector<Block> blocks;
    std::map<int, std::size_t> blockOfRoot;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int root = findRoot(parent, int(i));
        const TexInfo& t = wad.texInfos[order[i]];
        const PageRect r = sampleRect(t);
        auto [it, isNew] = blockOfRoot.try_emplace(root, blocks.size());
        if (isNew) {
            blocks.push_back({t.page, r, {}, -1});
        } else {
            PageRect& box = blocks[it->second].box;
            box = {std::min(box.left, r.left), std::min(box.top, r.top),
                   std::max(box.right, r.right), std::max(box.bottom, r.bottom)};
        }
        blocks[it->second].members.push_back(order[i]);
    }
    return blocks;
}

bool sameTexels(const Package& wad, const Block& a, const Block& b) {
    if (a.box.width() != b.box.width() || a.box.height() != b.box.height())
        return false;
    const std::size_t rowBytes = std::size_t(a.box.width()) * 3;
    for (int y = 0; y < a.box.height(); ++y)
        if (std::memcmp(&wad.textureData[texelOffset(a.page, a.box.left, a.box.top + y)],
                        &wad.textureData[texelOffset(b.page, b.box.left, b.box.top + y)],
                        rowBytes) != 0)
            return false;
    return true;
}

// Marks each block whose texels repeat an earlier block's.
void shareIdenticalBlocks(const Package& wad, std::vector<Block>& blocks) {
    std::map<std::pair<std::pair<int, int>, std::uint32_t>, std::vector<int>> seen;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        Block& b = blocks[i];
        std::uint32_t hash = 2166136261u; // FNV-1a over the block's texels
        const std::size_t rowBytes = std::size_t(b.box.width()) * 3;
        for (int y = 0; y < b.box.height(); ++y) {
            const std::uint8_t* row =
                &wad.textureData[texelOffset(b.page, b.box.left, b.box.top + y)];
            for (std::size_t k = 0; k < rowBytes; ++k)
                hash = (hash ^ row[k]) * 16777619u;
        }
        std::vector<int>& candidates = seen[{{b.box.width(), b.box.height()}, hash}];
        for (const int c : candidates)
            if (sameTexels(wad, blocks[c], b)) {
                b.sameAs = c;
                break;
            }
        if (b.sameAs < 0)
            candidates.push_back(int(i));
    }
}

Message refusal(std::string text) {
    return {MessageKind::Error, std::move(text)};
}

std::string countText(int n, const char* one, const char* many) {
    return std::to_string(n) + (n == 1 ? one : many);
}

} // namespace

AtlasEditResult compactAtlas(Package& wad) {
    AtlasEditResult result;
    if (!requirePackage(wad, result.messages))
        return result;
    const int pagesBefore = wad.pageCount();
    const int samplesBefore = int(std::min<std::size_t>(wad.texInfoCount, kMaxTexInfos));
    if (wad.textureData.size() < std::size_t(pagesBefore) * kPageBytes) {
        result.messages.push_back(refusal("The atlas is shorter than its page count."));
        return result;
    }
    const std::vector<int> newNumber = numbersWithoutUnused(wad);
    std::vector<int> kept;
    for (int i = 0; i < samplesBefore; ++i)
        if (newNumber[i] >= 0)
            kept.push_back(i);
    for (const int i : kept) {
        const TexInfo& t = wad.texInfos[i];
        if (t.page >= pagesBefore || t.x + t.width > 255 || t.y + t.height > 255) {
            result.messages.push_back(refusal(textureLabel(i) +
                                              " reaches outside its page; the atlas cannot be "
                                              "compacted until it is mended."));
            return result;
        }
    }

    std::vector<Block> blocks = blocksOf(wad, kept);
    shareIdenticalBlocks(wad, blocks);
    std::vector<PackSize> sizes;
    std::vector<int> packIndex(blocks.size(), -1);
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        if (blocks[b].sameAs >= 0)
            continue;
        packIndex[b] = int(sizes.size());
        sizes.push_back({blocks[b].box.width(), blocks[b].box.height()});
    }
    std::optional<PackLayout> packed = packRectangles(sizes);
    if (!packed) {
        result.messages.push_back(refusal("The atlas could not be packed."));
        return result;
    }

    // Where each block goes: the packed layout, or the pages as they are with
    // the pages that keep no sample left out, whichever needs fewer pages.
    std::vector<bool> pageKept(std::size_t(pagesBefore), false);
    for (const Block& b : blocks)
        pageKept[b.page] = true;
    std::vector<int> pageNumber(std::size_t(pagesBefore), -1);
    int keptPages = 0;
    for (int p = 0; p < pagesBefore; ++p)
        if (pageKept[p])
            pageNumber[p] = keptPages++;
    const bool repack = packed->pages < keptPages;
    const int pagesAfter = std::max(repack ? packed->pages : keptPages, 1);
    const int samplesAfter = int(kept.size());
    if (pagesAfter == pagesBefore && samplesAfter == samplesBefore) {
        result.messages.push_back(
            {MessageKind::Information,
             "The atlas is already compact: " + countText(pagesBefore, " page", " pages") + ", " +
                 countText(samplesBefore, " texture", " textures") + "."});
        return result;
    }

    std::vector<std::uint8_t> texels(std::size_t(pagesAfter) * kPageBytes, 0);
    std::array<TexInfo, kMaxTexInfos> infos = wad.texInfos;
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const Block& block = blocks[b];
        const Block& source = block.sameAs >= 0 ? blocks[block.sameAs] : block;
        int page = pageNumber[block.page], left = block.box.left, top = block.box.top;
        if (repack) {
            const PackPlace& at =
                packed->places[packIndex[block.sameAs >= 0 ? block.sameAs : int(b)]];
            page = at.page;
            left = at.x;
            top = at.y;
        }
        if (block.sameAs < 0) {
            const std::size_t rowBytes = std::size_t(block.box.width()) * 3;
            for (int y = 0; y < block.box.height(); ++y)
                std::memcpy(
                    &texels[texelOffset(page, left, top + y)],
                    &wad.textureData[texelOffset(source.page, source.box.left, source.box.top + y)],
                    rowBytes);
        } else if (!repack) {
            // Kept in place: its own texels stay where they are.
            const std::size_t rowBytes = std::size_t(block.box.width()) * 3;
            for (int y = 0; y < block.box.height(); ++y)
                std::memcpy(&texels[texelOffset(page, left, top + y)],
                            &wad.textureData[texelOffset(block.page, left, top + y)], rowBytes);
        }
        for (const int i : block.members) {
            TexInfo& t = infos[i];
            t.page = static_cast<std::uint16_t>(page);
            t.x = static_cast<std::uint8_t>(left + t.x - block.box.left);
            t.y = static_cast<std::uint8_t>(top + t.y - block.box.top);
        }
    }

    // Everything is ready: apply.
    wad.texInfos = infos;
    wad.textureData = std::move(texels);
    wad.textureDataSize = static_cast<std::uint32_t>(wad.textureData.size());
    renumberSamples(wad, newNumber);

    result.changed = true;
    result.texelsMoved = true;
    result.newSampleNumber = newNumber;
    if (!repack)
        result.newPageNumber = pageNumber;
    result.samplesBefore = samplesBefore;
    result.samplesAfter = samplesAfter;
    result.pagesBefore = pagesBefore;
    result.pagesAfter = pagesAfter;
    result.messages.push_back(
        {MessageKind::Information, "Compacted the atlas.\r\nPages: " + std::to_string(pagesBefore) +
                                       " before, " + std::to_string(pagesAfter) +
                                       " after.\r\nTextures: " + std::to_string(samplesBefore) +
                                       " before, " + std::to_string(samplesAfter) + " after."});
    return result;
}

} // namespace kavlen
