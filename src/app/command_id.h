// Command ids. A command is named by a string literal ("Open") wherever code
// refers to it; the literal is checked against the list below while the program
// is compiled, so a mistyped id is a compile error instead of a command that
// silently does not run.
#pragma once

#include <algorithm>
#include <ostream>
#include <string>
#include <string_view>

namespace kavlen {

inline constexpr std::string_view kCommandIds[] = {
    // File
    "Open",
    "OpenRecent",
    "Save",
    "SaveAs",
    "SaveTavFile",
    "RestoreTavFile",
    "ExportDxf",
    "ImportDxf",
    "ExportMqo",
    "ImportMqo",
    "ImportObj",
    "ExportObj",
    "ExportMoveableObj",
    "ImportMoveableObj",
    "Exit",
    // Edit
    "Undo",
    "Redo",
    "AddNewEmptyMesh",
    "LightEditor",
    "ChangeLightingType",
    "MoveMesh",
    "MirrorXZ",
    "MirrorYZ",
    "MirrorXY",
    "AboutMesh",
    "AboutMeshes",
    "AutomaticBound",
    // View
    "ShowAxes",
    "ShowGrid",
    "DarkUI",
    "BackgroundColor",
    "LineColor",
    "BoxColor",
    "PointColor",
    "PointColor2",
    "GridColor",
    "ResetColors",
    "BilinearFiltering",
    // Options
    "QueryOnClose",
    "OpenTextured",
    "ShowAllMeshes",
    // Textures
    "ExportAtlas",
    "ImportAtlas",
    "AddPageFromImage",
    "AddPageBlank",
    "AddNewTexture",
    "Preview",
    "FindTexture",
    "ChangeIdNumber",
    "SelectionColor",
    "CuttingShapeColor",
    "CutFromShape",
    "ExportTexture",
    "ImportTexture",
    "DeleteTexture",
    "RemoveUnusedTextures",
    "DeletePage",
    "CompactAtlas",
    "TintUnusedTextures",
    // Faces
    "TextureAll",
    "ShineAll",
    "OpaqueAll",
    "RotateAll",
    "UnhideFaces",
    "OutlineFaces",
    "UntexturedWhite",
    "ShowBentQuads",
    "ColorScaleShine",
    // Points
    "Remap",
    "RecalcNormalsAveraged",
    "RecalcNormalsWeighted",
    "HairNone",
    "HairLara",
    "HairYoungLara",
    // Help
    "KeysGuide",
    "ColorsGuide",
    "RemapHelp",
};

constexpr bool isCommandId(std::string_view name) {
    return std::find(std::begin(kCommandIds), std::end(kCommandIds), name) != std::end(kCommandIds);
}

class CommandId {
  public:
    constexpr CommandId() = default;
    // Only known ids compile: evaluating the throw is not a constant expression.
    consteval CommandId(const char* name) : name_(name) {
        if (!isCommandId(name_))
            throw "unknown command id";
    }

    constexpr std::string_view name() const { return name_; }
    std::string str() const { return std::string(name_); }
    constexpr bool empty() const { return name_.empty(); }
    friend constexpr bool operator==(CommandId a, CommandId b) { return a.name_ == b.name_; }
    friend constexpr bool operator<(CommandId a, CommandId b) { return a.name_ < b.name_; }

  private:
    std::string_view name_;
};

inline std::ostream& operator<<(std::ostream& out, CommandId id) {
    return out << id.name();
}

} // namespace kavlen
