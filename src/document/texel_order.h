// Turning texels between the file's order (red, green, blue) and memory's (blue,
// green, red): the same exchange of the first and third byte of every triple,
// either way. Four texels at a time as three 32-bit words, then the rest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kavlen {

inline void exchangeRedBlue(const std::uint8_t* in, std::uint8_t* out, std::size_t bytes) {
    std::size_t i = 0;
    for (; i + 12 <= bytes; i += 12) {
        std::uint8_t b[12];
        std::memcpy(b, in + i, 12);
        const std::uint8_t t[12] = {b[2], b[1], b[0], b[5],  b[4],  b[3],
                                    b[8], b[7], b[6], b[11], b[10], b[9]};
        std::memcpy(out + i, t, 12);
    }
    for (; i + 3 <= bytes; i += 3) {
        const std::uint8_t r = in[i], g = in[i + 1], b = in[i + 2];
        out[i] = b;
        out[i + 1] = g;
        out[i + 2] = r;
    }
    std::memmove(out + i, in + i, bytes - i);
}

} // namespace kavlen
