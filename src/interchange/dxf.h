// DXF drawings of one mesh: 3DFACE entities whose layer names carry each face's
// texture sample, mirroring, triangle corner and attribute word.
#pragma once

#include "interchange/interchange.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace kavlen {

// Layer name of a face, e.g. "TEXTUR_0005_0_0" or "FLIPED_0012_2_7".
std::string dxfLayerName(const MeshFace& face);

// The whole DXF text of a mesh, lines ending in CR LF; `layerCount` receives the
// number of distinct layers.
std::string buildDxf(const Mesh& mesh, std::size_t* layerCount = nullptr);

// Writes mesh slot `slot` as a DXF file (through a temporary file).
ExportResult exportDxf(const Package& wad, int slot, const std::filesystem::path& file);

// What a layer name says about its faces.
struct DxfLayer {
    bool mirrored = false;
    std::uint16_t sample = 0;
    std::uint16_t cornerCode = 0; // 0..4 as in the name
    std::uint16_t attribute = 0;
    std::uint16_t packedWord() const {
        return static_cast<std::uint16_t>((mirrored ? 0x8000 : 0) | (cornerCode << 12) | sample);
    }
};

// Parses a layer name by character position. Samples outside the package's
// samples become 0; shine is dropped when the name has no shine flag or the
// import makes a static-lit mesh.
DxfLayer parseDxfLayer(std::string_view name, std::uint32_t texInfoCount, bool staticImport);

// Limits of one import: faces kept for the count in the refusal, and the size
// of a drawing file.
inline constexpr std::size_t kDxfMaxPolygons = 4250;
inline constexpr std::uintmax_t kDxfMaxFileBytes = 64u << 20;

// Replaces mesh slot `slot` with the faces of an ASCII DXF file (R12 to R2018):
// 3DFACE entities and POLYLINE polyface meshes, in model space and in inserted
// blocks. On any refusal the mesh stays exactly as it was. `fileName` names the
// drawing in the messages.
ImportResult importDxf(Package& wad, int slot, const std::filesystem::path& file,
                       const ImportOptions& options);
ImportResult importDxfText(Package& wad, int slot, std::string_view text,
                           const ImportOptions& options, std::string_view fileName = "The drawing");

} // namespace kavlen
