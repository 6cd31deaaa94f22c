#include "app/editor.h"
#include "app/editor_commands.h"
#include "app/face_editing.h"
#include "app/menu_builder.h"

namespace kavlen {

void addFaceCommands(Editor& editor) {
    auto* faces = new FaceEditing(editor); // owned by the main window
    CommandTable& table = editor.commands();

    const auto add = [&](CommandId id, const char* menu, int position, const char* caption,
                         const char* shortcut, void (FaceEditing::*work)(), Guard guard) {
        Command c = menuCommand(id, menu, position, caption, shortcut);
        c.guard = guard;
        c.run = [faces, work](const std::string&) { (faces->*work)(); };
        return &table.add(c);
    };
    const Guard needsPackage = Guard::RequiresPackage;
    add("TextureAll", kMenuFaces, 10, "Tex&ture All", "Ctrl+T", &FaceEditing::textureAll,
        needsPackage);
    add("ShineAll", kMenuFaces, 20, "Shi&ne All", "Ctrl+N", &FaceEditing::shineAll, needsPackage)
        ->hint = "Apply shine value to all polys";
    add("OpaqueAll", kMenuFaces, 30, "&Opaque All", "Ctrl+Q", &FaceEditing::opaqueAll,
        needsPackage);
    add("RotateAll", kMenuFaces, 40, "&Rotate All", "", &FaceEditing::rotateAll, needsPackage);
    add("UnhideFaces", kMenuFaces, 60, "&Unhide Faces", "Ctrl+U", &FaceEditing::unhideFaces,
        needsPackage);

    add("LightEditor", kMenuEdit, 20, "&Light Editor", "Ctrl+L", &FaceEditing::showLightingEditor,
        needsPackage);
    add("ColorsGuide", kMenuHelp, 20, "&Colors Guide", "", &FaceEditing::showColourGuide,
        Guard::None);
    add("RemapHelp", kMenuHelp, 30, "&Remap", "", &FaceEditing::showRemapHelp, Guard::None);
}

} // namespace kavlen
