#include "app/result_messages.h"

#include "app/editor.h"
#include "app/main_window.h"
#include "app/qt_text.h"

namespace kavlen {

void showResultMessages(Editor& editor, const Messages& messages) {
    for (const Message& m : messages) {
        if (m.kind == MessageKind::Status)
            editor.mainWindow().setStatusText(1, toQt(m.text));
        else
            editor.dialogs().show(m);
    }
}

} // namespace kavlen
