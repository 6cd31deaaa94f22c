// Help > About...: the program, its version, the Qt it was built with, the GL
// driver the view runs on and the licence.
#include "app/about_text.h"
#include "app/editor.h"
#include "app/editor_commands.h"
#include "app/menu_builder.h"
#include "app/render_window.h"

namespace kavlen {

void addAboutCommand(Editor& editor) {
    Command about = menuCommand("About", kMenuHelp, 90, "About...");
    about.separatorBefore = true;
    about.run = [&editor](const std::string&) {
        const RenderWindow& render = editor.renderWindow();
        editor.dialogs().showInformation(
            aboutText({KAVLEN_VERSION, QT_VERSION_STR, render.glRenderer(), render.glVersion()}));
    };
    editor.commands().add(about);
}

} // namespace kavlen
