// Read-only reports on meshes: "About Mesh" for one mesh, "About Meshes" for the
// whole package, and the moveables that use a mesh. The texts are the windows'
// own; the *Text functions lay a report out as plain lines for the command line.
#pragma once

#include "document/package.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kavlen {

struct AboutMeshReport {
    std::string meshType;                   // "Static" or "Moveable"
    std::string lightingType;               // "Static" or "Moveable"
    std::string shine;                      // e.g. "3 of 12 faces", or "None"
    std::string transparency;               // same form
    std::vector<int> texturesUsed;          // valid sample indices, increasing
    std::vector<std::string> textureLabels; // "Texture#" + index
    std::string texturesCaption;            // "Textures used (" + count + ")"
    bool invalidTextures = false;           // shows kInvalidTexturesNote
};

inline constexpr const char* kInvalidTexturesNote = "Invalid texture indices found";

// Nothing when no package is loaded or `slot` names no mesh.
std::optional<AboutMeshReport> aboutMesh(const Package& wad, int slot);
std::vector<std::string> aboutMeshText(const AboutMeshReport& report);

// The five lists of "About Meshes", in window order.
enum class MeshProperty { Shine, Transparency, HiddenFaces, TextureZero, InvalidTexture };
inline constexpr std::size_t kMeshPropertyCount = 5;
inline constexpr std::array<const char*, kMeshPropertyCount> kMeshPropertyGroups = {
    "Shine", "Transparency", "Hidden Faces", "Texture #0", "Invalid Texture"};

// (Not "slots": Qt headers make that word a macro.)
struct AboutMeshesReport {
    std::array<std::vector<int>, kMeshPropertyCount> meshSlots;      // per list, increasing
    std::array<std::vector<std::string>, kMeshPropertyCount> labels; // "Mesh #" + slot
    std::string countLabel;                                          // "%d meshes in wad"
};

// Nothing when no package is loaded.
std::optional<AboutMeshesReport> aboutMeshes(const Package& wad);
std::vector<std::string> aboutMeshesText(const AboutMeshesReport& report);

// Where the render window shows a mesh chosen in a report: within the first
// moveable (package order) that uses it, at its position among that moveable's
// meshes; else as entry j of "-- Added Meshes --"; else in the list of all meshes.
struct MeshLocation {
    enum class Kind { Moveable, AddedMeshes, AllMeshes };
    Kind kind = Kind::AllMeshes;
    int listIndex = 0; // moveables list entry (moveable index, or moveableCount for added meshes)
    int entry = 0;     // entry in that mesh list, or the slot for AllMeshes
    bool operator==(const MeshLocation&) const = default;
};
MeshLocation locateMesh(const Package& wad, int slot);

// The render window's moveables-count button and "Moveables" window.
struct MoveablesUsingMesh {
    std::vector<int> moveables;      // package order
    std::vector<std::string> labels; // their list labels: the "Moveables" window's lines
    std::string caption;             // the count
    bool buttonEnabled = false;      // two or more
    std::string hint;
};
// `moveableLabels` are the moveables list's labels (name list names); a moveable
// beyond it is labelled "Moveable #" + its index.
MoveablesUsingMesh moveablesUsingMesh(const Package& wad, int slot,
                                      const std::vector<std::string>& moveableLabels = {});

} // namespace kavlen
