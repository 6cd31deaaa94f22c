#include "textures/adding.h"

#include "textures/atlas.h"
#include "textures/bmp24.h"
#include "textures/placement.h"
#include "textures/samples.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kavlen {

namespace {

// The chosen picture, or nothing when the user cancelled or loading failed (then
// with "Error loading file." among the messages).
std::optional<Image32> choosePicture(const ChoosePicture& choose, Messages& messages) {
    if (!choose)
        return std::nullopt;
    PictureChoice choice = choose();
    if (choice.status == PictureChoice::Status::Cancelled)
        return std::nullopt;
    if (choice.status == PictureChoice::Status::LoadFailed || choice.image.empty()) {
        messages.push_back(errorLoadingFile(choice.message));
        return std::nullopt;
    }
    return std::move(choice.image);
}

bool askYesNo(const AskUser& ask, const std::string& text) {
    return ask && ask({MessageKind::Confirmation, text, UserQuestion::Buttons::YesNo});
}

Image32 fitPicture(const Image32& image) {
    const FitSize size = fitToPage(image.width, image.height);
    return resizeCatmullRom(image, size.width, size.height);
}

Message atlasFull() {
    return {MessageKind::Error, "The atlas cannot hold more pages."};
}

} // namespace

Message errorLoadingFile(const std::string& reason) {
    return {MessageKind::Error,
            reason.empty() ? "Error loading file." : "Error loading file.\r\n" + reason};
}

std::optional<Message> sampleOffAtlas(const Package& wad, int sample) {
    if (!hasSample(wad, sample))
        return std::nullopt;
    const TexInfo& t = wad.texInfos[sample];
    const std::int64_t top = std::int64_t(t.page) * kPageRows + t.y;
    if (top < atlasRowCount(wad))
        return std::nullopt;
    const int pages = wad.pageCount();
    return Message{MessageKind::Error, textureLabel(sample) + " lies on " + pageLabel(t.page) +
                                           "; the atlas has " + std::to_string(pages) +
                                           (pages == 1 ? " page." : " pages.")};
}

FitSize fitToPage(int w, int h) {
    auto scaled = [](int a, int b) {
        const float r = static_cast<float>(a) / static_cast<float>(b);
        return std::max(1, static_cast<int>(std::trunc(static_cast<double>(r) * 256.0)));
    };
    if (w > h)
        return {256, scaled(h, w)};
    return {scaled(w, h), 256};
}

int appendPage(Package& wad, const Bitmap24* picture) {
    const int page = wad.pageCount();
    if (page >= kMaxPages ||
        std::uint64_t(wad.textureDataSize) + kPageBytes > std::numeric_limits<std::uint32_t>::max())
        return -1;
    // The new page goes right after the last whole page; a stray tail shorter than
    // a page (never written by this program) stays at the end.
    wad.textureData.resize(wad.textureDataSize, 0);
    const auto at = wad.textureData.begin() + std::ptrdiff_t(std::size_t(page) * kPageBytes);
    wad.textureData.insert(at, kPageBytes, 0);
    wad.textureDataSize += static_cast<std::uint32_t>(kPageBytes);
    if (picture) {
        Bitmap24 onPage(std::min(picture->width, kAtlasWidth),
                        std::min(picture->height, kPageRows));
        pasteBitmap(onPage, *picture, 0, 0);
        pasteIntoPage(wad, page, 0, 0, onPage);
    }
    return page;
}

AddPageResult addBlankPage(Package& wad) {
    AddPageResult result;
    if (!requirePackage(wad, result.messages))
        return result;
    result.page = appendPage(wad, nullptr);
    result.added = result.page >= 0;
    if (!result.added)
        result.messages.push_back(atlasFull());
    return result;
}

AddPageResult addPageFromImage(Package& wad, const ChoosePicture& choose, const AskUser& ask) {
    AddPageResult result;
    if (!requirePackage(wad, result.messages))
        return result;
    std::optional<Image32> image = choosePicture(choose, result.messages);
    if (!image)
        return result;
    if (image->width > 256 || image->height > 256) {
        if (!askYesNo(ask, "Image dimension exceeds 256 pixels.\n\rResize and continue?"))
            return result;
        *image = fitPicture(*image);
    }
    keyTransparentToMagenta(*image);
    const Bitmap24 picture = toBitmap24(*image);
    result.page = appendPage(wad, &picture);
    result.added = result.page >= 0;
    if (!result.added)
        result.messages.push_back(atlasFull());
    return result;
}

namespace {

// Draws the picture at `at` of `page` and appends its sample; returns its index.
int placeAt(Package& wad, const Bitmap24& picture, int page, PagePosition at) {
    pasteIntoPage(wad, page, at.x, at.y, picture);
    TexInfo& t = wad.texInfos[wad.texInfoCount];
    t.x = static_cast<std::uint8_t>(at.x);
    t.y = static_cast<std::uint8_t>(at.y);
    t.page = static_cast<std::uint16_t>(page);
    t.xFlag = -1;
    t.width = static_cast<std::uint8_t>(picture.width - 1);
    t.yFlag = -1;
    t.height = static_cast<std::uint8_t>(picture.height - 1);
    return static_cast<int>(wad.texInfoCount++);
}

} // namespace

int placeTexture(Package& wad, const Bitmap24& picture, int page) {
    if (wad.texInfoCount >= kMaxTexInfos || page < 0 || page >= kMaxPages)
        return -1;
    const std::optional<PagePosition> at =
        findFreePosition(wad, page, picture.width, picture.height);
    return at ? placeAt(wad, picture, page, *at) : -1;
}

AddTextureResult addNewTexture(Package& wad, const ChoosePicture& choose, const AskUser& ask) {
    AddTextureResult result;
    if (!requirePackage(wad, result.messages))
        return result;
    if (wad.texInfoCount >= kMaxTexInfos) {
        result.messages.push_back({MessageKind::Warning, "Texinfo limit of 4096 reached."});
        return result;
    }
    std::optional<Image32> image = choosePicture(choose, result.messages);
    if (!image)
        return result;

    std::string complaint;
    if (image->width > 256)
        complaint = "too wide";
    if (image->height > 256)
        complaint += complaint.empty() ? "too tall" : " and too tall";
    if (!complaint.empty()) {
        if (!askYesNo(ask, "Image is " + complaint + ".\n\rResize image and continue?"))
            return result;
        *image = fitPicture(*image);
    }
    keyTransparentToMagenta(*image);
    const Bitmap24 picture = toBitmap24(*image);

    // First fit over the existing pages in order, then on a new blank page.
    if (const auto at =
            findFreePositionOnPages(wad, wad.pageCount(), picture.width, picture.height)) {
        result.page = at->page;
        result.sample = placeAt(wad, picture, at->page, at->at);
    }
    if (result.sample < 0) {
        const int page = appendPage(wad, nullptr);
        if (page >= 0) {
            result.pageAdded = true;
            result.page = page;
            result.sample = placeTexture(wad, picture, page);
        }
    }
    result.added = result.sample >= 0;
    if (!result.added)
        result.messages.push_back({MessageKind::Error, "Error adding texture."});
    return result;
}

std::string exportTextureFileName(int sample) {
    return "Text" + std::to_string(sample);
}

Messages exportTextureToBmp(const Package& wad, int sample, const std::filesystem::path& path) {
    Messages messages;
    if (!requirePackage(wad, messages))
        return messages;
    if (auto off = sampleOffAtlas(wad, sample)) {
        messages.push_back(*off);
        return messages;
    }
    const std::optional<Bitmap24> picture = samplePicture(wad, sample);
    if (!picture)
        return messages;
    std::string why;
    if (!writeBmp24File(path, *picture, why))
        messages.push_back({MessageKind::Error, why});
    return messages;
}

ImportTextureResult importTexture(Package& wad, int sample, const ChoosePicture& choose) {
    ImportTextureResult result;
    if (!requirePackage(wad, result.messages) || !hasSample(wad, sample))
        return result;
    if (auto off = sampleOffAtlas(wad, sample)) {
        result.messages.push_back(*off);
        return result;
    }
    const std::optional<Image32> image = choosePicture(choose, result.messages);
    if (!image)
        return result;
    result.picture = toBitmap24(*image);

    const TexInfo& target = wad.texInfos[sample];
    const PageRect rect = sampleRect(target);
    pasteIntoPage(wad, target.page, rect.left, rect.top,
                  toBitmap24(resizeCatmullRom(*image, rect.width(), rect.height())));
    result.changed = true;

    result.rebuild.push_back(sample);
    for (std::uint32_t j = 0; j < wad.texInfoCount; ++j) {
        const TexInfo& t = wad.texInfos[j];
        if (int(j) != sample && t.page == target.page && sampleRect(t).overlaps(rect))
            result.rebuild.push_back(static_cast<int>(j));
    }
    return result;
}

} // namespace kavlen
