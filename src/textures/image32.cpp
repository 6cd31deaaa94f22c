#include "textures/image32.h"

#include <algorithm>
#include <cmath>

namespace kavlen {

Image32::Image32(int w, int h)
    : width(std::max(w, 0)), height(std::max(h, 0)), bgra(std::size_t(width) * height * 4, 0) {}

double catmullRomWeight(double x) {
    x = std::abs(x);
    if (x < 1.0)
        return (1.5 * x - 2.5) * x * x + 1.0;
    if (x < 2.0)
        return ((-0.5 * x + 2.5) * x - 4.0) * x + 2.0;
    return 0.0;
}

namespace {

// The source pixels and weights that make one destination pixel along one axis.
struct Contribution {
    std::vector<int> index;      // clamped source indices
    std::vector<double> weights; // normalised to sum 1
};

std::vector<Contribution> contributions(int srcSize, int dstSize) {
    const double scale = double(dstSize) / srcSize;
    const double filterScale = std::min(scale, 1.0); // widen the kernel when shrinking
    const double support = 2.0 / filterScale;
    std::vector<Contribution> out(dstSize);
    for (int i = 0; i < dstSize; ++i) {
        const double centre = (i + 0.5) / scale; // in source pixel units
        const int lo = static_cast<int>(std::floor(centre - support));
        const int hi = static_cast<int>(std::ceil(centre + support));
        Contribution& c = out[i];
        double sum = 0;
        for (int j = lo; j <= hi; ++j) {
            const double w = catmullRomWeight((j + 0.5 - centre) * filterScale);
            if (w == 0.0)
                continue;
            c.index.push_back(std::clamp(j, 0, srcSize - 1));
            c.weights.push_back(w);
            sum += w;
        }
        if (sum != 0.0)
            for (double& w : c.weights)
                w /= sum;
    }
    return out;
}

std::uint8_t toByte(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::floor(v + 0.5), 0.0, 255.0));
}

} // namespace

Image32 resizeCatmullRom(const Image32& src, int w, int h) {
    if (src.empty() || w <= 0 || h <= 0)
        return Image32(w, h);
    if (w == src.width && h == src.height)
        return src;

    // Horizontal pass into floating point, vertical pass to bytes. A source row's
    // horizontal pass is made when a destination row first needs it and dropped
    // after the last one that does, so only a band of rows (the filter's height)
    // is held at a time, however tall the source.
    const std::vector<Contribution> cols = contributions(src.width, w);
    const std::vector<Contribution> rows = contributions(src.height, h);
    std::vector<int> lastUse(std::size_t(src.height), -1);
    for (int y = 0; y < h; ++y)
        for (const int index : rows[std::size_t(y)].index)
            lastUse[std::size_t(index)] = y;
    std::vector<std::vector<float>> mid(std::size_t(src.height));
    auto horizontal = [&](int y) -> const float* {
        std::vector<float>& row = mid[std::size_t(y)];
        if (!row.empty())
            return row.data();
        row.resize(std::size_t(w) * 4);
        const std::uint8_t* in = src.bgra.data() + std::size_t(y) * src.width * 4;
        for (int x = 0; x < w; ++x) {
            const Contribution& c = cols[std::size_t(x)];
            double acc[4] = {0, 0, 0, 0};
            for (std::size_t k = 0; k < c.index.size(); ++k) {
                const std::uint8_t* p = in + std::size_t(c.index[k]) * 4;
                for (int ch = 0; ch < 4; ++ch)
                    acc[ch] += c.weights[k] * p[ch];
            }
            for (int ch = 0; ch < 4; ++ch)
                row[std::size_t(x) * 4 + std::size_t(ch)] = static_cast<float>(acc[ch]);
        }
        return row.data();
    };

    Image32 dst(w, h);
    std::vector<const float*> sources;
    for (int y = 0; y < h; ++y) {
        const Contribution& c = rows[std::size_t(y)];
        sources.clear();
        for (const int index : c.index)
            sources.push_back(horizontal(index));
        std::uint8_t* out = dst.bgra.data() + std::size_t(y) * w * 4;
        for (int x = 0; x < w; ++x) {
            double acc[4] = {0, 0, 0, 0};
            for (std::size_t k = 0; k < sources.size(); ++k) {
                const float* p = sources[k] + std::size_t(x) * 4;
                for (int ch = 0; ch < 4; ++ch)
                    acc[ch] += c.weights[k] * p[ch];
            }
            for (int ch = 0; ch < 4; ++ch)
                out[x * 4 + ch] = toByte(acc[ch]);
        }
        for (const int index : c.index)
            if (lastUse[std::size_t(index)] == y)
                std::vector<float>().swap(mid[std::size_t(index)]);
    }
    return dst;
}

Bitmap24 toBitmap24(const Image32& src) {
    Bitmap24 out(src.width, src.height);
    const std::size_t n = std::size_t(src.width) * src.height;
    for (std::size_t i = 0; i < n; ++i) {
        out.bgr[3 * i] = src.bgra[4 * i];
        out.bgr[3 * i + 1] = src.bgra[4 * i + 1];
        out.bgr[3 * i + 2] = src.bgra[4 * i + 2];
    }
    return out;
}

void keyTransparentToMagenta(Image32& image) {
    const std::size_t n = std::size_t(image.width) * image.height;
    for (std::size_t i = 0; i < n; ++i) {
        std::uint8_t* p = image.bgra.data() + 4 * i;
        if (p[3] == 0) {
            p[0] = kMagenta.b;
            p[1] = kMagenta.g;
            p[2] = kMagenta.r;
            p[3] = kMagenta.a;
        }
    }
}

} // namespace kavlen
