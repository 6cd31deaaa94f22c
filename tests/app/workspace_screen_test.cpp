// The whole editor on a screen with a window manager (with_window_manager.sh),
// as a user meets it: the main window, the docked 3D view and the tool windows
// must fit the screen and stay visible. What is visible is read back from the
// screen (imagemagick's import) and clicks go through the X server (xdotool).
#include "app/colour_guide_window.h"
#include "app/editor.h"
#include "app/main_window.h"
#include "app/menu_builder.h"
#include "app/qt_dialogs.h"
#include "app/render_window.h"
#include "app/texture_panel.h"
#include "app/tool_windows.h"
#include "textures/samples.h"
#include "view3d/gl_view.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QGroupBox>
#include <QListWidget>
#include <QProcess>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace kavlen {
namespace {

constexpr std::uint32_t kMagenta = 0x00FF00FF; // background of the 3D view, 0x00BBGGRR
const QColor kMagentaColour(255, 0, 255);

QImage screenShot() {
    QProcess import;
    import.start("import", {"-window", "root", "png:-"});
    if (!import.waitForFinished(20000))
        return {};
    return QImage::fromData(import.readAllStandardOutput(), "PNG")
        .convertToFormat(QImage::Format_RGB32);
}

// The widget's area on the screen in device pixels (what import and xdotool use).
QRect deviceRect(const QWidget& widget) {
    const qreal ratio = widget.devicePixelRatioF();
    const QPoint global = widget.mapToGlobal(QPoint(0, 0));
    return QRect(qRound(global.x() * ratio), qRound(global.y() * ratio),
                 qRound(widget.width() * ratio), qRound(widget.height() * ratio));
}

QRect globalRect(const QWidget& widget) {
    return QRect(widget.mapToGlobal(QPoint(0, 0)), widget.size());
}

// Share of the pixels of `area` (sampled on a grid) that have the colour.
double shareOfColour(const QImage& shot, const QRect& area, const QColor& colour) {
    int samples = 0, matching = 0;
    const QRect inside = area.intersected(shot.rect());
    for (int y = area.top(); y <= area.bottom(); y += 4) {
        for (int x = area.left(); x <= area.right(); x += 4) {
            ++samples;
            if (inside.contains(x, y) && shot.pixelColor(x, y) == colour)
                ++matching;
        }
    }
    return samples ? double(matching) / samples : 0;
}

void xdotool(const QStringList& arguments) {
    QProcess::execute("xdotool", arguments);
}

void clickAt(QPoint devicePoint) {
    xdotool({"mousemove", "--sync", QString::number(devicePoint.x()),
             QString::number(devicePoint.y()), "click", "1"});
}

QPoint deviceCentre(const QWidget& widget, QPoint logical) {
    const qreal ratio = widget.devicePixelRatioF();
    const QPoint global = widget.mapToGlobal(logical);
    return QPoint(qRound((global.x() + 0.5) * ratio), qRound((global.y() + 0.5) * ratio));
}

struct WorkspaceScreenTest : testing::Test {
    void SetUp() override {
        dir =
            std::filesystem::temp_directory_path() / ("kavlen_screen_" + std::to_string(getpid()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        locations.settingsFile = dir / "kavlen3.INI";
        locations.dataDirs = {dir};
        package = (dir / "demo.wad").string();
        std::filesystem::copy_file(std::filesystem::path(KAVLEN_SAMPLES_DIR) / "demo.wad", package);
    }
    void TearDown() override {
        editor.reset();
        std::filesystem::remove_all(dir);
    }

    // Starts the editor and waits until the window manager has maximised it.
    void start() {
        editor = std::make_unique<Editor>(dialogs, locations);
        ASSERT_TRUE(editor->start(true));
        dialogs.setParent(&editor->mainWindow());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor->mainWindow()));
        QTest::qWait(500); // the window manager maximises and decorates it
    }

    MainWindow& main() { return editor->mainWindow(); }
    RenderWindow& render() { return editor->renderWindow(); }
    QScreen& screen() { return *main().screen(); }

    // The 3D view shows the background on most of its area, on the screen.
    double viewShare(const QImage& shot) {
        return shareOfColour(shot, deviceRect(render().view()), kMagentaColour);
    }

    void saveShot(const QImage& shot, const char* name) {
        if (const char* folder = std::getenv("KAVLEN_SCREENSHOT_DIR"))
            shot.save(QString("%1/%2-%3x%4.png")
                          .arg(folder, name)
                          .arg(screen().geometry().width())
                          .arg(screen().geometry().height()));
    }

    std::filesystem::path dir;
    std::string package;
    AppLocations locations;
    QtDialogs dialogs;
    std::unique_ptr<Editor> editor;
};

TEST_F(WorkspaceScreenTest, EverythingFitsTheScreenAndTheViewStaysVisible) {
    start();
    ASSERT_TRUE(editor->openPackage(package));
    render().setViewColour(ViewColour::Background, kMagenta);
    QTest::qWait(300);
    // The window manager places frames in device pixels: scaled to logical
    // pixels, an edge may round one pixel outward.
    const int rounding = main().devicePixelRatio() > 1 ? 1 : 0;
    const QRect screenArea = screen().geometry().adjusted(-rounding, -rounding, rounding, rounding);
    const QRect available =
        screen().availableGeometry().adjusted(-rounding, -rounding, rounding, rounding);

    // The main window and its status bar lie within the screen.
    EXPECT_TRUE(screenArea.contains(main().frameGeometry()))
        << "frame " << main().frameGeometry().x() << "," << main().frameGeometry().y() << " "
        << main().frameGeometry().width() << "x" << main().frameGeometry().height();
    EXPECT_TRUE(available.contains(globalRect(*main().statusBar())));
    EXPECT_TRUE(main().statusBar()->isVisible());

    // The page view shows all its 256 x 256 texels on the screen as it draws them.
    QImage shot = screenShot();
    ASSERT_FALSE(shot.isNull()) << "import gave no picture";
    saveShot(shot, "layout");
    auto* panel = main().findChild<TexturePanel*>("texturePanel");
    ASSERT_TRUE(panel);
    QWidget* page = nullptr;
    for (QWidget* w : main().pageGroup()->findChildren<QWidget*>())
        if (w->width() == 256 && w->height() == 256)
            page = w;
    ASSERT_TRUE(page) << "no 256 x 256 page view";
    const QRect pageOnScreen = deviceRect(*page);
    EXPECT_TRUE(shot.rect().contains(pageOnScreen));
    const QImage drawn = page->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int same = 0, sampled = 0;
    for (int y = 2; y < drawn.height(); y += drawn.height() / 16) {
        for (int x = 2; x < drawn.width(); x += drawn.width() / 16) {
            ++sampled;
            const QColor a = drawn.pixelColor(x, y);
            const QColor b = shot.pixelColor(pageOnScreen.topLeft() + QPoint(x, y));
            if (std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                    std::abs(a.blue() - b.blue()) <=
                12)
                ++same;
        }
    }
    EXPECT_GE(same, sampled * 95 / 100) << "the page view is covered or off the screen";
    EXPECT_GE(viewShare(shot), 0.5) << "the 3D view is not visible";

    // Every control group can be scrolled into sight within the screen, below the page.
    QScrollArea* groups = main().controlGroupsArea();
    for (QWidget* group :
         groups->widget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!group->isVisible())
            continue;
        groups->ensureWidgetVisible(group, 0, 0);
        QTest::qWait(20);
        const QRect shown = globalRect(*group).intersected(globalRect(*groups->viewport()));
        EXPECT_FALSE(shown.isEmpty()) << group->objectName().toStdString();
        EXPECT_TRUE(available.contains(shown)) << group->objectName().toStdString();
        EXPECT_FALSE(shown.intersects(globalRect(*main().pageGroup())));
    }

    // A click on row 250 of the page picks the sample there.
    // Sample 1 lies on page 0, which then shows.
    panel->textureList()->setCurrentRow(1);
    const std::vector<SampleHit> hits = hitTest(editor->document(), 0, 230, 250);
    ASSERT_EQ(hits.size(), 1u);
    clickAt(deviceCentre(*page, QPoint(230, 250)));
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return panel->textureList()->currentRow() == hits[0].index;
    })) << "picked "
        << panel->textureList()->currentRow();

    // A click in the texture list leaves the 3D view visible.
    QListWidget* list = panel->textureList();
    // The column shows the list's group (a list itself would be scrolled to its
    // current entry's place), and the list shows entry 3.
    main().controlGroupsArea()->ensureWidgetVisible(list->parentWidget());
    list->scrollToItem(list->item(3));
    QTest::qWait(100);
    const QRect entry = list->visualItemRect(list->item(3));
    clickAt(deviceCentre(*list->viewport(), entry.center()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return list->currentRow() == 3; }));
    QTest::qWait(300);
    EXPECT_GE(viewShare(screenShot()), 0.5) << "the 3D view went under after a list click";

    // While a message box is up and after it is closed, the 3D view stays visible.
    double duringBox = 0;
    QTimer::singleShot(800, [&] {
        duringBox = viewShare(screenShot());
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    });
    dialogs.showInformation("A message");
    EXPECT_GE(duringBox, 0.3) << "the message box hid the 3D view";
    QTest::qWait(300);
    EXPECT_GE(viewShare(screenShot()), 0.5) << "the 3D view went under after a message box";

    // A floating view closed by the window manager comes back with View > Render Window.
    QDockWidget* dock = main().renderDock();
    dock->setFloating(true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dock));
    QTest::qWait(500);
    EXPECT_GE(viewShare(screenShot()), 0.5) << "the floating view is not visible";
    xdotool({"windowactivate", "--sync", QString::number(dock->winId())});
    xdotool({"key", "alt+F4"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dock->isVisible(); }))
        << "the window manager could not close the floating view";
    QTest::qWait(300);
    EXPECT_LT(viewShare(screenShot()), 0.05);
    editor->menus().action("RenderWindow")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dock->isVisible(); }));
    QTest::qWait(500);
    EXPECT_GE(viewShare(screenShot()), 0.5) << "View > Render Window did not bring the view back";

    // Tool windows: inside the screen, clear of the page and the middle of the
    // 3D view, every tab shown, and back where they were left.
    dock->setFloating(false);
    QTest::qWait(500);
    const QRect pageArea = globalRect(*page);
    const QRect view = globalRect(render().view());
    const QPoint viewCentre = view.center();
    for (QWidget* window : editor->toolWindows().all()) {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window)) << window->windowTitle().toStdString();
        QTest::qWait(200);
        const QRect frame = window->frameGeometry();
        const std::string name = window->windowTitle().toStdString() + " at " +
                                 std::to_string(frame.x()) + "," + std::to_string(frame.y()) + " " +
                                 std::to_string(frame.width()) + "x" +
                                 std::to_string(frame.height());
        EXPECT_TRUE(available.contains(frame)) << name;
        EXPECT_FALSE(frame.intersects(pageArea)) << name << " covers the page";
        EXPECT_FALSE(frame.contains(viewCentre)) << name << " covers the 3D view's centre";
        for (QTabWidget* tabs : window->findChildren<QTabWidget*>())
            EXPECT_GE(tabs->tabBar()->width(), tabs->tabBar()->sizeHint().width()) << name;
        window->hide();
    }
    QWidget& guide = editor->toolWindows().colourGuide();
    guide.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&guide));
    const QPoint moved = guide.pos() - QPoint(40, 30);
    guide.move(moved);
    QTest::qWait(300);
    const QPoint left = guide.pos();
    guide.hide();
    QTest::qWait(200);
    guide.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&guide));
    QTest::qWait(300);
    EXPECT_EQ(guide.pos(), left) << "the window did not reopen where it was left";
    guide.hide();
}

} // namespace
} // namespace kavlen
