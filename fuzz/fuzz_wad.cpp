// Feeds arbitrary bytes to the package reader; whatever it accepts is written and
// read back, which must succeed.
#include "document/package.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto wad = std::make_unique<kavlen::Package>();
    const kavlen::LoadResult r = kavlen::loadWadFromBytes(*wad, data, size);
    if (!r.ok()) {
        if (r.message.empty() || wad->isLoaded())
            std::abort();
        return 0;
    }
    std::array<std::uint32_t, kavlen::kMaxMeshPointers> pointers{};
    std::uint32_t words = 0;
    const auto bytes = kavlen::serializeWad(*wad, pointers, words);
    auto back = std::make_unique<kavlen::Package>();
    if (!kavlen::loadWadFromBytes(*back, bytes.data(), bytes.size()).ok())
        std::abort();
    return 0;
}
