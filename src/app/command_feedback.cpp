#include "app/command_feedback.h"

#include "app/editor.h"
#include "app/main_window.h"
#include "app/qt_text.h"
#include "app/render_window.h"

namespace kavlen {

void showResultMessages(Editor& editor, const Messages& messages) {
    for (const Message& m : messages) {
        if (m.kind == MessageKind::Status)
            editor.mainWindow().setStatusText(1, toQt(m.text));
        else
            editor.dialogs().show(m);
    }
}

void centerCurrentMesh(Editor& editor) {
    editor.renderWindow().centerView();
}

} // namespace kavlen
