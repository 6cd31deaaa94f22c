// Each area of the editor adds its commands to the table in its own function,
// called from Editor::registerCommands before the menus are built.
//
// Menu positions (Command::position) follow the order of the menus; leave gaps:
//   File:    Open 10, Open Recent 20, Save 30, Save As 40, Save Tav File 50,
//            Restore Tav File 60, Export Dxf 70, Import Dxf 80, Export MQO 90,
//            Import MQO 100, Import OBJ 110, Exit 200
//   Edit:    Add new empty mesh 10, Light Editor 20, Change Lighting Type 30,
//            Move Mesh 40, Mirror Mesh 50-52, About Mesh 90, About Meshes 100
//   View:    Show Axes 10, Show Grid 20, Change Colors 30-35, Reset Colors 39,
//            other view switches 40-69, Dark UI 80, Bilinear Filtering 90
//   Textures: Export Atlas 10, Import Atlas 20, Add page 30-40, Add new texture 50,
//            Preview 60, Find Texture 65, Change ID number 70, Selection Color 80, Cutting Shape
//            Color 90, Cut from Shape 100, Export Texture 110, Import Texture 120
//   Points:  Remap 10, Recalc Normals 20-21, Highlight Hair Indices 100-102
//   Faces:   Texture All 10, Shine All 20, Opaque All 30, Rotate All 40, Unhide Faces 60,
//            Outline Faces 100, Untextured White 110, Show Bent Quads 120,
//            Color Scale Shine 130
//   Options: Query on close 10, Open wad in Textured Mode 20, Show All Meshes list 30
//   Help:    Keys Guide 10, Colors Guide 20, Remap 30
#pragma once

#include "app/command_table.h"

namespace kavlen {

class Editor;

// A menu command with the placement and keys every command has.
Command menuCommand(CommandId id, const char* menu, int position, const char* caption,
                    const char* shortcut = "");

void addFileCommands(Editor& editor);    // Open, Open Recent, Save, Save As, Exit
void addViewCommands(Editor& editor);    // Show Axes, Show Grid, Dark UI
void addOptionsCommands(Editor& editor); // Query on close, Open wad in Textured Mode, ...
// Textures menu (atlas, pages, samples, cutting shape) and the Tav File commands.
void addTextureCommands(Editor& editor);
// View colours, Reset Colors, Bilinear Filtering, the face display switches,
// Highlight Hair Indices and the all-meshes list.
void addRenderCommands(Editor& editor);
// The "Boundary Data" group with Automatic Bound, About Mesh, About Meshes and the
// Keys Guide.
void addReportCommands(Editor& editor);
// Edit and Points menus: Move Mesh, Mirror Mesh, Add new empty mesh, Change
// Lighting Type, Remap, Recalc Normals.
void addMeshCommands(Editor& editor);
// File menu: Export/Import Dxf, Export/Import MQO, Import OBJ.
void addInterchangeCommands(Editor& editor);
// Faces menu, the Lighting Editor, the colour guide and Remap Help; clicks in the view.
void addFaceCommands(Editor& editor);

} // namespace kavlen
