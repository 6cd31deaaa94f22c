// kavlen3: the editor. An optional argument names a package to open at start
// (how the desktop and file managers hand over a file).
#include "app/editor.h"
#include "app/main_window.h"
#include "app/program_locations.h"
#include "app/qt_dialogs.h"
#include "view3d/gl_format.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QTimer>

int main(int argc, char** argv) {
    kavlen::setDefaultGLFormat(); // before the QApplication exists
    QApplication app(argc, argv);
    QApplication::setApplicationName("kavlen3");
    QApplication::setWindowIcon(QIcon(":/kavlen3.png"));

    kavlen::QtDialogs dialogs;
    kavlen::Editor editor(dialogs, kavlen::programLocations());
    if (!editor.start(kavlen::openGLAvailable()))
        return 1;
    dialogs.setParent(&editor.mainWindow());

    const QStringList args = QApplication::arguments();
    if (args.size() > 1) {
        const std::string path = QDir::toNativeSeparators(args.at(1)).toStdString();
        // Once the windows are up, so the package fills them in view.
        QTimer::singleShot(0, &editor,
                           [&editor, path] { editor.commands().execute("Open", path); });
    }
    return app.exec();
}
