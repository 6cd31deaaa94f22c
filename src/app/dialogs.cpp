#include "app/dialogs.h"

namespace kavlen {

void Dialogs::show(const Message& message) {
    switch (message.kind) {
    case MessageKind::Error:
        showError(message.text);
        break;
    case MessageKind::Warning:
        showWarning(message.text);
        break;
    case MessageKind::Confirmation:
        confirmOkCancel(message.text);
        break;
    case MessageKind::Information:
        showInformation(message.text);
        break;
    case MessageKind::Status:
        break;
    }
}

} // namespace kavlen
