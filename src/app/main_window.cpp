#include "app/main_window.h"

#include "app/editor.h"
#include "app/menu_builder.h"
#include "app/qt_text.h"
#include "app/recent_files.h"
#include "app/render_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace kavlen {

namespace {

constexpr int kRecentCaptionWidth = 200; // pixels of the menu font
constexpr int kControlColumnWidth = 400; // left of the render window
const QColor kDarkGray(0x80, 0x80, 0x80);

// The first local .wad file among the dropped ones.
QString droppedPackage(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && url.toLocalFile().endsWith(".wad", Qt::CaseInsensitive))
            return url.toLocalFile();
    return {};
}

} // namespace

MainWindow::MainWindow(Editor& editor) : editor_(editor) {
    setWindowTitle(kAppTitle);
    setAcceptDrops(true);
    buildLayout();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildLayout() {
    // Everything sits in a column at the left edge: the render window covers the
    // rest of the maximised main window.
    auto* central = new QWidget(this);
    central->setObjectName("mainArea");
    auto* layout = new QHBoxLayout(central);
    auto* column = new QWidget(central);
    column->setFixedWidth(kControlColumnWidth);
    controlColumn_ = new QVBoxLayout(column);
    controlColumn_->setContentsMargins(0, 0, 0, 0);

    pageGroup_ = new QGroupBox(tr("Texture Page"), column);
    pageGroup_->setObjectName("pageGroup");
    pageGroup_->setLayout(new QVBoxLayout);
    pageGroup_->setMinimumHeight(300);
    controlColumn_->addWidget(pageGroup_);

    auto* mode = new QGroupBox(tr("Mode"), column);
    auto* modeLayout = new QHBoxLayout(mode);
    modeTx_ = new QCheckBox("Tx", mode);
    modeSh_ = new QCheckBox("Sh", mode);
    modeOp_ = new QCheckBox("Op", mode);
    for (QCheckBox* box : {modeTx_, modeSh_, modeOp_}) {
        box->setChecked(true);
        modeLayout->addWidget(box);
    }
    controlColumn_->addWidget(mode);

    uiColourButton_ = new QToolButton(column);
    uiColourButton_->setText(tr("UI"));
    uiColourButton_->setToolTip("Change UI colour");
    connect(uiColourButton_, &QToolButton::clicked, this,
            [this] { editor_.commands().execute("DarkUI"); });
    controlColumn_->addWidget(uiColourButton_, 0, Qt::AlignLeft);
    controlColumn_->addStretch(1);
    layout->addWidget(column);
    layout->addStretch(1);
    setCentralWidget(central);

    for (std::size_t i = 0; i < statusPanels_.size(); ++i) {
        statusPanels_[i] = new QLabel(this);
        statusPanels_[i]->setObjectName(QString("statusPanel%1").arg(i));
        statusPanels_[i]->setMinimumWidth(i == 0 ? 120 : 200);
        statusBar()->addWidget(statusPanels_[i], i == 0 ? 0 : 1);
    }
}

void MainWindow::setStatusText(int panel, const QString& text) {
    if (panel >= 0 && panel < static_cast<int>(statusPanels_.size()))
        statusPanels_[static_cast<std::size_t>(panel)]->setText(text);
}

void MainWindow::addControlGroup(QWidget* group) {
    // Before the button row and the closing stretch.
    controlColumn_->insertWidget(controlColumn_->count() - 2, group);
}

QString MainWindow::statusText(int panel) const {
    if (panel < 0 || panel >= static_cast<int>(statusPanels_.size()))
        return {};
    return statusPanels_[static_cast<std::size_t>(panel)]->text();
}

void MainWindow::setDarkUI(bool on) {
    darkUI_ = on;
    QWidget* area = centralWidget();
    for (QWidget* w : {area, static_cast<QWidget*>(pageGroup_)}) {
        QPalette palette = QApplication::palette(w);
        if (on)
            palette.setColor(QPalette::Window, kDarkGray);
        w->setPalette(palette);
        w->setAutoFillBackground(on);
    }
    for (QGroupBox* group : findChildren<QGroupBox*>())
        group->setFlat(on);
}

void MainWindow::openPackageCommand(const std::string& path) {
    // Unsaved changes are saved or discarded first, or the open does not happen.
    if (!editor_.mayDiscardPackage())
        return;
    std::string chosen = path;
    if (chosen.empty()) {
        FileDialogOptions options{"TRLE wad file (*.wad)", "wad", {}};
        if (editor_.packageLoaded())
            options.startPath = toStd(QFileInfo(toQt(editor_.documentPath())).absolutePath());
        const auto answer = editor_.dialogs().openFile(options);
        if (!answer)
            return;
        chosen = *answer;
    }
    editor_.openPackage(chosen);
}

void MainWindow::savePackageCommand() {
    editor_.savePackage(editor_.documentPath());
}

void MainWindow::saveAsCommand() {
    const auto path =
        editor_.dialogs().saveFile({"TRLE wad file format (*.wad)", "wad", editor_.documentPath()});
    if (path && editor_.savePackage(*path))
        editor_.setDocumentPath(*path);
}

void MainWindow::exitCommand() {
    close();
}

void MainWindow::applyDarkUICommand() {
    setDarkUI(editor_.commands().isChecked("DarkUI"));
}

QMenu* MainWindow::recentMenu() const {
    return editor_.menus().submenu("OpenRecent");
}

void MainWindow::setRecentFiles(const std::vector<std::string>& paths) {
    QMenu* menu = recentMenu();
    if (!menu)
        return;
    menu->clear();
    const QFontMetrics metrics(menu->font());
    const auto width = [&](const std::string& text) {
        return metrics.horizontalAdvance(toQt(text));
    };
    const char separator = QDir::separator().toLatin1();
    for (const std::string& path : paths) {
        QString caption = toQt(shortenPath(path, separator, kRecentCaptionWidth, width));
        caption.replace('&', "&&");
        QAction* entry = menu->addAction(caption);
        entry->setToolTip(toQt(path));
        connect(entry, &QAction::triggered, this,
                [this, path] { editor_.commands().execute("Open", path); });
    }
    editor_.commands().setEnabled("OpenRecent", !paths.empty());
}

void MainWindow::registerOpenSteps(OpenProcedure& procedure) {
    procedure.addStep(OpenStage::ClearMainWindow,
                      [this](Package&) { editor_.setTitle(" - Loading..."); });
    procedure.addStep(OpenStage::ClearImagesAndStatus, [this](Package&) {
        for (int i = 0; i < 3; ++i)
            setStatusText(i, {});
    });
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Once the main window is up, so the render window comes out on top of it.
    QTimer::singleShot(0, this, [this] {
        RenderWindow& render = editor_.renderWindow();
        render.show();
        render.raise();
    });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!editor_.queryClose()) {
        event->ignore();
        return;
    }
    editor_.shutdown();
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedPackage(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString path = droppedPackage(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Open after the drop has finished, so the dragging program is not held up.
    QTimer::singleShot(0, this, [this, path] {
        editor_.commands().execute("Open", toStd(QDir::toNativeSeparators(path)));
    });
}

} // namespace kavlen
