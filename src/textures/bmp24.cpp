#include "textures/bmp24.h"

#include "document/byte_cursor.h"
#include "document/regular_file.h"
#include "document/safe_write.h"

#include <algorithm>
#include <array>
#include <bit>
#include <stdexcept>

namespace kavlen {

namespace {

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

struct BmpError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Bounds-checked reads at absolute offsets.
struct Bytes {
    std::span<const std::uint8_t> data;

    void need(std::size_t at, std::size_t n) const {
        if (at > data.size() || n > data.size() - at)
            throw BmpError("The file ends early.");
    }
    std::uint16_t u16(std::size_t at) const {
        need(at, 2);
        return static_cast<std::uint16_t>(data[at] | (data[at + 1] << 8));
    }
    std::uint32_t u32(std::size_t at) const {
        need(at, 4);
        return std::uint32_t(data[at]) | (std::uint32_t(data[at + 1]) << 8) |
               (std::uint32_t(data[at + 2]) << 16) | (std::uint32_t(data[at + 3]) << 24);
    }
    std::int32_t i32(std::size_t at) const { return static_cast<std::int32_t>(u32(at)); }
};

struct Layout {
    std::int64_t width = 0;
    std::int64_t height = 0; // rows, always positive
    bool topDown = false;
    int bpp = 0;
    std::uint32_t compression = kRgb;
    std::array<std::uint32_t, 3> masks{}; // red, green, blue
    std::uint32_t alphaMask = 0;          // bit-field files that declare alpha
    std::vector<Bgr> palette;
    std::size_t dataOffset = 0;
};

Layout readLayout(const Bytes& in) {
    if (in.data.size() < 2 || in.data[0] != 'B' || in.data[1] != 'M')
        throw BmpError("The file is not a Windows bitmap.");
    in.need(0, 14);
    Layout l;
    l.dataOffset = in.u32(10);
    const std::uint32_t headerSize = in.u32(14);
    std::size_t paletteEntry = 4;
    std::uint32_t colourCount = 0;
    std::size_t afterHeader = 14 + std::size_t(headerSize);
    if (headerSize == 12) {
        l.width = in.u16(18);
        l.height = in.u16(20);
        l.bpp = in.u16(24);
        paletteEntry = 3;
    } else if (headerSize >= 16 && headerSize <= 4096) {
        l.width = in.i32(18);
        const std::int64_t h = in.i32(22);
        l.topDown = h < 0;
        l.height = h < 0 ? -h : h;
        l.bpp = in.u16(28);
        if (headerSize >= 20)
            l.compression = in.u32(30);
        if (headerSize >= 36)
            colourCount = in.u32(46);
    } else {
        throw BmpError("The bitmap header has an unknown size.");
    }
    in.need(0, afterHeader);

    if (l.width <= 0 || l.height <= 0)
        throw BmpError("The bitmap has no pixels.");
    if (l.width * l.height > kMaxBitmapPixels)
        throw BmpError("The bitmap is too large.");

    const bool fields = l.compression == kBitFields || l.compression == kAlphaBitFields;
    switch (l.bpp) {
    case 1:
    case 24:
        if (l.compression != kRgb)
            throw BmpError("The bitmap's compression is not supported.");
        break;
    case 4:
        if (l.compression != kRgb && l.compression != kRle4)
            throw BmpError("The bitmap's compression is not supported.");
        break;
    case 8:
        if (l.compression != kRgb && l.compression != kRle8)
            throw BmpError("The bitmap's compression is not supported.");
        break;
    case 16:
    case 32:
        if (l.compression != kRgb && !fields)
            throw BmpError("The bitmap's compression is not supported.");
        break;
    default:
        throw BmpError("The bitmap's pixel depth is not supported.");
    }
    if ((l.compression == kRle4 || l.compression == kRle8) && l.topDown)
        throw BmpError("The bitmap's compression is not supported.");

    if (fields) {
        // The masks sit inside a version 2+ header, or follow a 40-byte one.
        const std::size_t at = headerSize >= 52 ? 14 + 40 : afterHeader;
        l.masks = {in.u32(at), in.u32(at + 4), in.u32(at + 8)};
        if (headerSize >= 56 || (headerSize < 52 && l.compression == kAlphaBitFields))
            l.alphaMask = in.u32(at + 12);
        if (headerSize < 52)
            afterHeader += l.compression == kAlphaBitFields ? 16 : 12;
    } else if (l.bpp == 16) {
        l.masks = {0x7C00, 0x03E0, 0x001F};
    } else if (l.bpp == 32) {
        l.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
    }

    if (l.bpp <= 8) {
        const std::uint32_t maxColours = 1u << l.bpp;
        std::uint32_t n = colourCount == 0 ? maxColours : std::min(colourCount, maxColours);
        const std::size_t available =
            afterHeader < in.data.size() ? (in.data.size() - afterHeader) / paletteEntry : 0;
        n = static_cast<std::uint32_t>(std::min<std::size_t>(n, available));
        l.palette.assign(maxColours, Bgr{});
        for (std::uint32_t i = 0; i < n; ++i) {
            const std::uint8_t* p = in.data.data() + afterHeader + i * paletteEntry;
            l.palette[i] = {p[0], p[1], p[2]};
        }
    }
    return l;
}

// Decodes RLE8 or RLE4 data (rows bottom-up) straight into `out`; pixels the
// data skips stay black.
void decodeRle(const Bytes& in, const Layout& l, Bitmap24& out) {
    const std::size_t w = std::size_t(l.width), h = std::size_t(l.height);
    const std::size_t kept = std::size_t(out.height);
    if (l.dataOffset >= in.data.size())
        throw BmpError("The file ends early.");
    const std::uint8_t* p = in.data.data() + l.dataOffset;
    const std::uint8_t* end = in.data.data() + in.data.size();
    const bool four = l.compression == kRle4;
    std::size_t x = 0, y = 0;
    auto put = [&](std::uint8_t v) {
        if (x < w && y < h && h - 1 - y < kept) {
            const Bgr c = l.palette[v];
            std::uint8_t* o = out.row(static_cast<int>(h - 1 - y)) + 3 * x;
            o[0] = c.b;
            o[1] = c.g;
            o[2] = c.r;
        }
        ++x;
    };
    while (y < h && end - p >= 2) {
        const std::uint8_t count = p[0], value = p[1];
        p += 2;
        if (count > 0) {
            for (int i = 0; i < count && x < w; ++i)
                put(four ? static_cast<std::uint8_t>(i % 2 ? value & 15 : value >> 4) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // delta
            if (end - p < 2)
                break;
            x += p[0];
            y += p[1];
            p += 2;
        } else { // absolute run of `value` pixels, padded to a 16-bit boundary
            const std::size_t bytes = four ? (value + 1u) / 2 : value;
            const std::size_t padded = (bytes + 1) & ~std::size_t(1);
            if (std::size_t(end - p) < bytes)
                break;
            for (int i = 0; i < value; ++i)
                put(four ? static_cast<std::uint8_t>(i % 2 ? p[i / 2] & 15 : p[i / 2] >> 4) : p[i]);
            p += std::min<std::size_t>(padded, std::size_t(end - p));
        }
    }
}

// Decodes the top `kept` rows (the picture's own top, whatever the file's row
// order) into `out`, and the alpha channel into `alpha` when the file has one.
void decodePixels(const Bytes& in, const Layout& l, std::size_t kept, Bitmap24& out,
                  std::vector<std::uint8_t>& alpha) {
    const std::size_t w = std::size_t(l.width), h = std::size_t(l.height);
    out = Bitmap24(static_cast<int>(w), static_cast<int>(kept));
    if (l.compression == kRle4 || l.compression == kRle8) {
        decodeRle(in, l, out);
        return;
    }

    const std::size_t stride = ((w * std::size_t(l.bpp) + 31) / 32) * 4;
    in.need(l.dataOffset, stride * h);
    const MaskChannel red(l.masks[0]), green(l.masks[1]), blue(l.masks[2]), opacity(l.alphaMask);
    const bool hasAlpha = l.alphaMask != 0 && (l.bpp == 16 || l.bpp == 32);
    if (hasAlpha)
        alpha.assign(w * kept, 0);
    for (std::size_t r = 0; r < h; ++r) {
        const std::size_t target = l.topDown ? r : h - 1 - r;
        if (target >= kept)
            continue;
        const std::uint8_t* s = in.data.data() + l.dataOffset + r * stride;
        std::uint8_t* o = out.row(static_cast<int>(target));
        std::uint8_t* a = hasAlpha ? alpha.data() + target * w : nullptr;
        for (std::size_t x = 0; x < w; ++x) {
            Bgr c;
            switch (l.bpp) {
            case 1:
                c = l.palette[(s[x / 8] >> (7 - x % 8)) & 1];
                break;
            case 4:
                c = l.palette[(s[x / 2] >> (x % 2 ? 0 : 4)) & 15];
                break;
            case 8:
                c = l.palette[s[x]];
                break;
            case 16: {
                const std::uint32_t v = s[2 * x] | (s[2 * x + 1] << 8);
                c = {blue(v), green(v), red(v)};
                if (a)
                    a[x] = opacity(v);
                break;
            }
            case 24:
                c = {s[3 * x], s[3 * x + 1], s[3 * x + 2]};
                break;
            default: {
                const std::uint32_t v =
                    std::uint32_t(s[4 * x]) | (std::uint32_t(s[4 * x + 1]) << 8) |
                    (std::uint32_t(s[4 * x + 2]) << 16) | (std::uint32_t(s[4 * x + 3]) << 24);
                c = {blue(v), green(v), red(v)};
                if (a)
                    a[x] = opacity(v);
            }
            }
            o[3 * x] = c.b;
            o[3 * x + 1] = c.g;
            o[3 * x + 2] = c.r;
        }
    }
    // Writers that leave the alpha bits zero mean an opaque picture.
    if (std::all_of(alpha.begin(), alpha.end(), [](std::uint8_t v) { return v == 0; }))
        alpha.clear();
}

} // namespace

MaskChannel::MaskChannel(std::uint32_t mask) : mask_(mask) {
    if (mask == 0)
        return;
    shift_ = std::countr_zero(mask);
    bits_ = 32 - std::countl_zero(mask) - shift_;
}

std::uint8_t MaskChannel::operator()(std::uint32_t pixel) const {
    if (bits_ == 0)
        return 0;
    const std::uint64_t value = (pixel & mask_) >> shift_;
    if (bits_ >= 8)
        return static_cast<std::uint8_t>(value >> (bits_ - 8));
    const std::uint64_t top = (std::uint64_t(1) << bits_) - 1;
    return static_cast<std::uint8_t>((value * 255 + top / 2) / top);
}

std::vector<std::uint8_t> encodeBmp24(const Bitmap24& bitmap) {
    const std::uint32_t stride = (std::uint32_t(bitmap.width) * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = stride * std::uint32_t(bitmap.height);
    std::vector<std::uint8_t> out;
    out.reserve(54 + imageBytes);
    ByteSink s(out);
    s.u8('B');
    s.u8('M');
    s.u32(54 + imageBytes);
    s.u32(0);  // reserved
    s.u32(54); // pixel data offset
    s.u32(40); // information header size
    s.u32(static_cast<std::uint32_t>(bitmap.width));
    s.u32(static_cast<std::uint32_t>(bitmap.height)); // positive: rows bottom-up
    s.u16(1);                                         // planes
    s.u16(24);                                        // bits per pixel
    s.u32(0);                                         // no compression
    s.u32(imageBytes);
    s.u32(2835); // 72 dots per inch
    s.u32(2835);
    s.u32(0); // colours used
    s.u32(0); // important colours
    const std::size_t padding = stride - bitmap.rowBytes();
    for (int y = bitmap.height - 1; y >= 0; --y) {
        s.bytes(bitmap.row(y), bitmap.rowBytes());
        out.insert(out.end(), padding, 0);
    }
    return out;
}

BmpHeaderResult readBmpHeader(std::span<const std::uint8_t> bytes) {
    BmpHeaderResult result;
    try {
        const Layout layout = readLayout(Bytes{bytes});
        result.width = static_cast<int>(layout.width);
        result.height = static_cast<int>(layout.height);
        result.bitsPerPixel = layout.bpp;
        result.ok = true;
    } catch (const BmpError& e) {
        result.message = e.what();
    }
    return result;
}

BmpReadResult decodeBmp(std::span<const std::uint8_t> bytes, int keepRows) {
    BmpReadResult result;
    try {
        const Bytes in{bytes};
        const Layout layout = readLayout(in);
        const std::size_t rows = std::size_t(layout.height);
        const std::size_t kept = keepRows < 0 ? rows : std::min(rows, std::size_t(keepRows));
        decodePixels(in, layout, kept, result.bitmap, result.alpha);
        result.bitsPerPixel = layout.bpp;
        result.ok = true;
    } catch (const BmpError& e) {
        result.message = e.what();
    }
    return result;
}

BmpReadResult readBmpFile(const std::filesystem::path& path) {
    std::vector<std::uint8_t> bytes;
    std::string message;
    if (!readRegularFile(path, kMaxBitmapFileBytes, bytes, message)) {
        BmpReadResult r;
        r.message = message;
        return r;
    }
    return decodeBmp(bytes);
}

bool writeBmp24File(const std::filesystem::path& path, const Bitmap24& bitmap,
                    std::string& message) {
    const std::vector<std::uint8_t> bytes = encodeBmp24(bitmap);
    const WriteResult r = writeFileSafely(path, bytes);
    message = r.message;
    return r.ok;
}

} // namespace kavlen
