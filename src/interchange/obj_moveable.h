// Whole moveables as one OBJ file: every mesh of the moveable as an object named
// after its slot, placed by the moveable's mesh tree in its rest pose.
#pragma once

#include "interchange/interchange.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kavlen {

// Where the meshes of a moveable sit. The mesh tree holds one joint record of four
// 32-bit words per mesh after the first: flags (bit 0: take the parent from the
// stack, bit 1: put the parent on the stack; bit 0 first), then the x, y and z
// offset from the parent. The first mesh sits at the origin.
struct MoveablePlacement {
    std::vector<int> meshSlots;                 // mesh slot of each pointer, in order
    std::vector<std::array<double, 3>> offsets; // position of each mesh
    std::string refusal;                        // why the moveable cannot be placed
};

MoveablePlacement placeMoveable(const Package& wad, int moveable);

// Writes every mesh of moveable `moveable` (index in the moveables list); a mesh
// that the moveable uses twice is written once, at its first place.
ExportResult exportMoveableObj(const Package& wad, int moveable, const std::filesystem::path& file);

// Puts each object of the file back into its slot (offsets subtracted); when any
// mesh of the moveable has no object or cannot be imported, nothing changes.
ImportResult importMoveableObj(Package& wad, int moveable, const std::filesystem::path& file,
                               const ImportOptions& options);

} // namespace kavlen
