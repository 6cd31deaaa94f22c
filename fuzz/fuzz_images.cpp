// Picture files as hostile input: the core's bitmap reader (atlas import) and the
// decoders that need no Qt (DDS with libsquish, PSD, TGA through stb_image).
// Each must give a well-formed picture or nothing.
#include "imagefiles/dds_reader.h"
#include "imagefiles/psd_reader.h"
#include "imagefiles/stb_reader.h"
#include "textures/bmp24.h"

#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

void check(bool ok) {
    if (!ok)
        std::abort();
}

void checkPicture(const std::optional<kavlen::Image32>& image) {
    if (image)
        check(image->width > 0 && image->height > 0 &&
              image->bgra.size() == std::size_t(image->width) * image->height * 4);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);

    const kavlen::BmpReadResult bmp = kavlen::decodeBmp(bytes);
    if (bmp.ok)
        check(bmp.bitmap.width > 0 && bmp.bitmap.height > 0 &&
              bmp.bitmap.bgr.size() == std::size_t(bmp.bitmap.width) * bmp.bitmap.height * 3);
    else
        check(!bmp.message.empty());

    checkPicture(kavlen::decodeDds(bytes));
    checkPicture(kavlen::decodePsd(bytes));
    checkPicture(kavlen::decodeTga(bytes));
    return 0;
}
