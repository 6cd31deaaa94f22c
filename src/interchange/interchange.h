// What the model importers and exporters share: the import options, the result
// records, and the choice of the mesh slot they work on.
#pragma once

#include "document/messages.h"
#include "document/package.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>

namespace kavlen {

// The "Import options" choice: moveable lighting (averaged normals) or static
// lighting of intensity 0..31, and the size: the file's coordinates times
// `scale` on top of the format's own mapping, or, with `fit`, the scale that
// gives the model the size of the mesh it replaces.
struct ImportOptions {
    bool moveable = true;
    int intensity = 16;
    double scale = 1.0;
    bool fit = false;
};

struct ImportResult {
    bool imported = false; // the mesh slot was replaced
    int vertexCount = 0;   // of the new mesh
    int faceCount = 0;
    Messages messages; // in the order they are shown
};

struct ExportResult {
    bool written = false;
    std::size_t faceCount = 0;
    std::size_t nameCount = 0; // layers (DXF) or materials (MQO)
    Messages messages;
};

// Text of the refusal when the mesh slot does not exist.
inline constexpr const char* kNoMeshMessage = "No mesh selected.";

// The mesh in slot `slot`, or null after adding the refusal to `messages`
// ("No wad opened." without a package, kNoMeshMessage without that slot).
const Mesh* meshForInterchange(const Package& wad, int slot, Messages& messages);

// Reads a whole regular file as text; false with a message when it cannot, when
// it is a folder, FIFO or device, or when it is larger than `maxBytes`.
bool readTextFile(const std::filesystem::path& file, std::string& text, std::string& message,
                  std::uintmax_t maxBytes = std::numeric_limits<std::uintmax_t>::max());

// Fills the lighting data of a freshly imported mesh whose normalCount equals its
// vertexCount: averaged normals, or static shades of the chosen intensity.
void finishImportedLighting(Mesh& mesh, const ImportOptions& options);

} // namespace kavlen
