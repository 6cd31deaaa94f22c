// The 8-byte texture sample record, shared by the package and texture-set files.
#pragma once

#include "document/byte_cursor.h"
#include "document/package.h"

namespace kavlen {

inline TexInfo readTexInfo(ByteCursor& in) {
    TexInfo t;
    t.x = in.u8();
    t.y = in.u8();
    t.page = in.u16();
    t.xFlag = static_cast<std::int8_t>(in.u8());
    t.width = in.u8();
    t.yFlag = static_cast<std::int8_t>(in.u8());
    t.height = in.u8();
    return t;
}

inline void writeTexInfo(ByteSink& out, const TexInfo& t) {
    out.u8(t.x);
    out.u8(t.y);
    out.u16(t.page);
    out.u8(static_cast<std::uint8_t>(t.xFlag));
    out.u8(t.width);
    out.u8(static_cast<std::uint8_t>(t.yFlag));
    out.u8(t.height);
}

} // namespace kavlen
