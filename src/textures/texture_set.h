// Texture-set files (".tav"): a package's texture samples and the geometry and
// faces of every mesh, kept apart from the package. Always written packed.
#pragma once

#include "document/messages.h"
#include "document/package.h"
#include "textures/user_question.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace kavlen {

// Magic: the length byte 16 followed by these 16 characters.
inline constexpr char kTavMagic[] = "Norvahl Tav file";

// The largest content a texture set within the package capacities can have.
std::size_t maxTextureSetContent();

// The logical (unpacked) content of the package's texture set.
std::vector<std::uint8_t> buildTextureSetContent(const Package& wad);

struct TextureSetResult {
    bool ok = false;
    std::uint32_t sampleCount = 0;
    std::uint16_t meshCount = 0;
    std::size_t contentSize = 0;
    // Restore only: what the set changed (refresh the views that show it).
    std::vector<int> changedSamples; // sample numbers whose records differ
    std::vector<int> changedMeshes;  // mesh slots whose data differs
    Messages messages;
};

// Writes the texture set packed, through a temporary file.
TextureSetResult saveTextureSet(const Package& wad, const std::filesystem::path& file);

// Reads a texture set (packed or plain) over the package: samples and each mesh's
// sphere, vertices, normals or shades and faces. The whole file is read and
// checked first, and nothing changes when it is refused: a set whose sample or
// mesh count differs from the package's belongs to another package (the mesh
// pointers could not keep their meshes), and a set that puts a sample on a page
// the atlas lacks would leave that sample without texels. A set that fits is
// applied only when `ask` answers yes to a question that says what would change;
// a set that changes nothing is refused. Texture pages, pointers, objects,
// animations and hidden-face flags are left as they are.
TextureSetResult restoreTextureSet(Package& wad, const std::filesystem::path& file,
                                   const AskUser& ask);
TextureSetResult restoreTextureSetFromBytes(Package& wad, std::span<const std::uint8_t> fileBytes,
                                            const AskUser& ask);

} // namespace kavlen
