#include "app/qt_dialogs.h"

#include "app/editor.h"
#include "app/qt_text.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace kavlen {

namespace {

std::optional<std::string> runFileDialog(QWidget* parent, const FileDialogOptions& options,
                                         QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, toQt(options.title), toQt(options.startPath),
                       filterForAnyCase(toQt(options.filter)));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(toQt(options.defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return toStd(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
}

QMessageBox::StandardButton ask(QWidget* parent, QMessageBox::Icon icon, const std::string& text,
                                QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, kAppTitle, toQt(text), buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

std::optional<std::string> QtDialogs::openFile(const FileDialogOptions& options) {
    return runFileDialog(parent_, options, QFileDialog::AcceptOpen);
}

std::optional<std::string> QtDialogs::saveFile(const FileDialogOptions& options) {
    return runFileDialog(parent_, options, QFileDialog::AcceptSave);
}

std::optional<std::uint32_t> QtDialogs::chooseColour(std::uint32_t initial) {
    const QColor chosen = QColorDialog::getColor(
        QColor(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF), parent_);
    if (!chosen.isValid())
        return std::nullopt;
    return static_cast<std::uint32_t>(chosen.red()) |
           (static_cast<std::uint32_t>(chosen.green()) << 8) |
           (static_cast<std::uint32_t>(chosen.blue()) << 16);
}

void QtDialogs::showError(const std::string& text) {
    ask(parent_, QMessageBox::Critical, text, QMessageBox::Ok);
}

void QtDialogs::showWarning(const std::string& text) {
    ask(parent_, QMessageBox::Warning, text, QMessageBox::Ok);
}

void QtDialogs::showInformation(const std::string& text) {
    ask(parent_, QMessageBox::NoIcon, text, QMessageBox::Ok);
}

bool QtDialogs::askWarningOkCancel(const std::string& text) {
    return ask(parent_, QMessageBox::Warning, text, QMessageBox::Ok | QMessageBox::Cancel) ==
           QMessageBox::Ok;
}

bool QtDialogs::confirmOkCancel(const std::string& text) {
    return ask(parent_, QMessageBox::Question, text, QMessageBox::Ok | QMessageBox::Cancel) ==
           QMessageBox::Ok;
}

bool QtDialogs::confirmYesNo(const std::string& text) {
    return ask(parent_, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

SaveChoice QtDialogs::askSaveChanges(const std::string& text) {
    switch (ask(parent_, QMessageBox::Warning, text,
                QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel)) {
    case QMessageBox::Save:
        return SaveChoice::Save;
    case QMessageBox::Discard:
        return SaveChoice::Discard;
    default:
        return SaveChoice::Cancel;
    }
}

} // namespace kavlen
