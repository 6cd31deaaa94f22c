#include "imagefiles/psd_reader.h"

#include "imagefiles/picture_format.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace kavlen {

namespace {

constexpr int kModeGrey = 1, kModeRgb = 3;

// Big-endian reads that fail instead of running past the end.
struct Reader {
    std::span<const std::uint8_t> b;
    std::size_t at = 0;

    std::size_t left() const { return at <= b.size() ? b.size() - at : 0; }
    bool read(int n, std::uint64_t& v) {
        if (left() < std::size_t(n))
            return false;
        v = 0;
        for (int i = 0; i < n; ++i)
            v = (v << 8) | b[at++];
        return true;
    }
    bool skip(std::uint64_t n) {
        if (left() < n)
            return false;
        at += std::size_t(n);
        return true;
    }
    bool skipSection() {
        std::uint64_t length = 0;
        return read(4, length) && skip(length);
    }
};

// Unpacks one PackBits row of `out.size()` bytes; false when the data ends first.
bool unpackRow(Reader& in, std::span<std::uint8_t> out) {
    std::size_t n = 0;
    while (n < out.size()) {
        std::uint64_t header = 0;
        if (!in.read(1, header))
            return false;
        const int code = static_cast<std::int8_t>(header);
        if (code >= 0) { // literal run of code + 1 bytes
            const std::size_t count = std::size_t(code) + 1;
            if (in.left() < count)
                return false;
            const std::size_t take = std::min(count, out.size() - n);
            std::memcpy(out.data() + n, in.b.data() + in.at, take);
            in.at += count;
            n += take;
        } else if (code != -128) { // 1 - code copies of the next byte
            std::uint64_t value = 0;
            if (!in.read(1, value))
                return false;
            const std::size_t count = std::min<std::size_t>(std::size_t(1 - code), out.size() - n);
            std::memset(out.data() + n, int(value), count);
            n += count;
        }
    }
    return true;
}

} // namespace

std::optional<Image32> decodePsd(std::span<const std::uint8_t> bytes) {
    if (detectPictureFormat(bytes) != PictureFormat::Psd)
        return std::nullopt;
    Reader in{bytes, 4};
    std::uint64_t version = 0, channels = 0, height = 0, width = 0, depth = 0, mode = 0;
    if (!in.read(2, version) || version != 1 || !in.skip(6) || !in.read(2, channels) ||
        !in.read(4, height) || !in.read(4, width) || !in.read(2, depth) || !in.read(2, mode))
        return std::nullopt;
    const std::uint64_t colours = mode == kModeRgb ? 3 : mode == kModeGrey ? 1 : 0;
    if (colours == 0 || channels < colours || channels > 56 || (depth != 8 && depth != 16) ||
        width == 0 || height == 0 || width * height > std::uint64_t(kMaxPicturePixels))
        return std::nullopt;
    std::uint64_t compression = 0;
    if (!in.skipSection() || !in.skipSection() || !in.skipSection() || !in.read(2, compression) ||
        compression > 1)
        return std::nullopt;

    // The colour channels and, when present, the one after them as alpha.
    const std::uint64_t used = std::min(channels, colours + 1);
    const std::size_t sampleBytes = depth / 8;
    const std::size_t rowBytes = std::size_t(width) * sampleBytes;
    const std::size_t planeBytes = rowBytes * std::size_t(height);
    // Refuse a file too short to hold the pixels before allocating for them.
    std::uint64_t available = in.left();
    if (compression == 1) {
        const std::uint64_t table = channels * height * 2; // per-row byte counts
        if (available < table)
            return std::nullopt;
        available = (available - table) / 2 * 128; // two PackBits bytes make <= 128 bytes
    }
    if (available / used < planeBytes)
        return std::nullopt;
    std::vector<std::uint8_t> planes(planeBytes * used);
    if (compression == 0) {
        std::memcpy(planes.data(), bytes.data() + in.at, planes.size());
    } else {
        in.skip(channels * height * 2); // the rows are unpacked in order without the counts
        for (std::size_t row = 0; row < used * height; ++row)
            if (!unpackRow(in, {planes.data() + row * rowBytes, rowBytes}))
                return std::nullopt;
    }

    Image32 image(static_cast<int>(width), static_cast<int>(height));
    const std::size_t pixels = std::size_t(width) * height;
    auto sample = [&](std::uint64_t plane, std::size_t i) {
        return planes[plane * planeBytes + i * sampleBytes]; // high byte of 16-bit samples
    };
    for (std::size_t i = 0; i < pixels; ++i) {
        std::uint8_t* p = image.bgra.data() + 4 * i;
        const std::uint8_t red = sample(0, i);
        p[2] = red;
        p[1] = colours == 3 ? sample(1, i) : red;
        p[0] = colours == 3 ? sample(2, i) : red;
        p[3] = used > colours ? sample(colours, i) : 255;
        if (p[3] != 0 && p[3] != 255) { // undo the white matte: shown = a * c + (1 - a) * 255
            const double a = p[3] / 255.0;
            for (int c = 0; c < 3; ++c)
                p[c] = static_cast<std::uint8_t>(
                    std::clamp(std::round((p[c] - (1 - a) * 255.0) / a), 0.0, 255.0));
        }
    }
    return image;
}

} // namespace kavlen
