#include "interchange/interchange.h"

#include "document/safe_write.h"
#include "meshedit/lighting.h"

namespace kavlen {

const Mesh* meshForInterchange(const Package& wad, int slot, Messages& messages) {
    if (!wad.isLoaded()) {
        messages.push_back({MessageKind::Error, "No wad opened."});
        return nullptr;
    }
    if (slot < 0 || slot >= wad.meshCount || std::size_t(slot) >= wad.meshes.size()) {
        messages.push_back({MessageKind::Error, kNoMeshMessage});
        return nullptr;
    }
    return &wad.meshes[std::size_t(slot)];
}

bool readTextFile(const std::filesystem::path& file, std::string& text, std::string& message,
                  std::uintmax_t maxBytes) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        message = "Cannot open " + file.string() + ": not a file";
        return false;
    }
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (!ec && size > maxBytes) {
        message = "Cannot open " + file.string() + ": " + std::to_string(size) +
                  " bytes, more than the " + std::to_string(maxBytes) +
                  " bytes such a file may have";
        return false;
    }
    std::vector<std::uint8_t> bytes;
    if (!readWholeFile(file, bytes, message))
        return false;
    text.assign(bytes.begin(), bytes.end());
    return true;
}

void finishImportedLighting(Mesh& mesh, const ImportOptions& options) {
    if (options.moveable)
        recalcNormals(mesh, true);
    else
        setStaticLighting(mesh, options.intensity);
}

} // namespace kavlen
