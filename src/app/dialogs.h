// Every question and message the editor shows goes through this interface: the
// Qt implementation shows the platform's dialogs, tests install a scripted one.
#pragma once

#include "document/messages.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kavlen {

struct FileDialogOptions {
    std::string filter;           // "TRLE wad file (*.wad)"
    std::string defaultExtension; // added when the typed name has none, e.g. "wad"
    std::string startPath;        // folder or file to start in; may be empty
    std::string title = {};       // the dialog's caption; empty for the platform's own
};

// The answer to "Save changes to NAME?".
enum class SaveChoice { Save, Discard, Cancel };

class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // Open dialog that accepts only existing files; nullopt when cancelled.
    virtual std::optional<std::string> openFile(const FileDialogOptions& options) = 0;
    // Save dialog that asks before overwriting; nullopt when cancelled.
    virtual std::optional<std::string> saveFile(const FileDialogOptions& options) = 0;
    // Colour dialog preset with a 0x00BBGGRR colour; nullopt when cancelled.
    virtual std::optional<std::uint32_t> chooseColour(std::uint32_t initial) = 0;

    // Error box with OK (refusals such as "No wad opened.").
    virtual void showError(const std::string& text) = 0;
    // Warning box with OK.
    virtual void showWarning(const std::string& text) = 0;
    // Plain box with OK (results, format errors).
    virtual void showInformation(const std::string& text) = 0;
    // Warning box with OK and Cancel; true for OK.
    virtual bool askWarningOkCancel(const std::string& text) = 0;
    // Confirmation box with OK and Cancel; true for OK.
    virtual bool confirmOkCancel(const std::string& text) = 0;
    // Confirmation box with Yes and No; true for Yes.
    virtual bool confirmYesNo(const std::string& text) = 0;
    // Warning box with Save, Discard and Cancel, for unsaved changes.
    virtual SaveChoice askSaveChanges(const std::string& text) = 0;

    // Shows a core operation's message in the box of its kind. Status messages
    // belong to the status bar and are not shown here.
    void show(const Message& message);
};

} // namespace kavlen
