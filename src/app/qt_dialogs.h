// The platform's dialogs and message boxes.
#pragma once

#include "app/dialogs.h"

#include <QPointer>
#include <QWidget>

namespace kavlen {

class QtDialogs : public Dialogs {
  public:
    // Dialogs are centred on the parent once it is set.
    void setParent(QWidget* parent) { parent_ = parent; }

    std::optional<std::string> openFile(const FileDialogOptions& options) override;
    std::optional<std::string> saveFile(const FileDialogOptions& options) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override;
    void showError(const std::string& text) override;
    void showWarning(const std::string& text) override;
    void showInformation(const std::string& text) override;
    bool askWarningOkCancel(const std::string& text) override;
    bool confirmOkCancel(const std::string& text) override;
    bool confirmYesNo(const std::string& text) override;
    SaveChoice askSaveChanges(const std::string& text) override;

  private:
    QPointer<QWidget> parent_;
};

} // namespace kavlen
