// The one path by which every model importer (DXF, MQO, OBJ) puts what it read
// into a mesh slot: the chosen scale or fit, the range and collapse checks, the
// welding of corners, the vertex order of the mesh it replaces, the lighting and
// the bounding sphere. A refusal leaves the slot exactly as it was.
#pragma once

#include "interchange/import_report.h"
#include "interchange/interchange.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kavlen {

struct ImportedFace {
    std::uint8_t corners = 3;              // 3 or 4
    std::array<std::uint32_t, 4> vertex{}; // positions in ImportedModel::vertices
    std::uint16_t texture = 0;
    std::uint16_t attributes = 0;
    // A quad whose fourth corner lands on its third point becomes a triangle with
    // `triangleTexture` (how DXF tells triangles from quads).
    bool triangleWhenClosed = false;
    std::uint16_t triangleTexture = 0;
};

struct ImportedModel {
    // Points in the mesh's axes at scale 1 (the format's own mapping, unrounded).
    std::vector<std::array<double, 3>> vertices;
    std::vector<ImportedFace> faces;
    // Corners that land on one mesh point become one vertex (DXF has no vertex list).
    bool weld = false;
    // Vertices that match the replaced mesh's vertices keep their indices there:
    // matched ones first in their old order, new ones after.
    bool keepTargetOrder = false;
    // Wording of the vertex and face limits: DXF's own or the plain one.
    enum class LimitWording { Dxf, Plain } limitWording = LimitWording::Plain;

    std::size_t facesRead = 0; // faces as the file has them, for the summary
    ImportChanges changes;     // what the reader split or left out
    Messages notices;          // shown before the summary (e.g. several objects merged)
    std::string holds;         // what the file holds instead of faces, when known
};

// Replaces mesh slot `slot` with the model. `fileName` names the file in the
// messages. On success the result carries the notices and one summary of the
// changed faces; on a refusal the slot is untouched.
ImportResult placeImportedModel(Package& wad, int slot, const ImportedModel& model,
                                const ImportOptions& options, std::string_view fileName);

// The name an import's messages use for a file.
std::string displayName(const std::filesystem::path& file);

} // namespace kavlen
