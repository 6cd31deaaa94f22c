#include "app/tool_windows.h"

#include "app/colour_guide_window.h"
#include "app/editor.h"
#include "app/lighting_editor_window.h"
#include "app/main_window.h"
#include "app/move_mesh_window.h"
#include "app/moveables_window.h"
#include "app/remap_help_window.h"
#include "app/remap_window.h"
#include "app/render_window.h"
#include "app/report_windows.h"
#include "app/texture_number_windows.h"
#include "view3d/gl_view.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace kavlen {

namespace {

// The middle of a widget on the screen: an eighth of its width and height.
QRect middleOf(const QWidget& widget) {
    const QRect r(widget.mapToGlobal(QPoint(0, 0)), widget.size());
    return QRect(r.left() + r.width() * 7 / 16, r.top() + r.height() * 7 / 16, r.width() / 8,
                 r.height() / 8);
}

QRect globalRect(const QWidget& widget) {
    return QRect(widget.mapToGlobal(QPoint(0, 0)), widget.size());
}

} // namespace

ToolWindows::ToolWindows(Editor& editor, MainWindow& owner)
    : QObject(&owner), editor_(editor), owner_(owner) {
    setObjectName("toolWindows");
    moveMesh_ = new MoveMeshWindow(editor, &owner);
    remap_ = new RemapWindow(editor, &owner);
    lightingEditor_ = new LightingEditorWindow(&owner);
    swap_ = new SwapTexturesWindow(&owner);
    find_ = new FindTextureWindow(&owner);
    choose_ = new ChooseTextureWindow(&owner);

    // The Preview window: a small tool window on top, its client area the picture.
    preview_ = new QWidget(&owner, Qt::Tool | Qt::WindowStaysOnTopHint);
    preview_->setObjectName("previewWindow");
    preview_->setWindowTitle(tr("Preview"));
    auto* previewLayout = new QVBoxLayout(preview_);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    previewPicture_ = new QLabel(preview_);
    previewLayout->addWidget(previewPicture_);

    moveables_ = new MoveablesWindow(&owner);
    aboutMesh_ = new AboutMeshWindow(&owner);
    aboutMeshes_ = new AboutMeshesWindow(&owner);
    colourGuide_ = new ColourGuideWindow(&owner);
    // The guide's text is read once, now, from the file beside the program.
    keysGuide_ = new KeysGuideWindow(&owner, editor.locations().dataFile("readme.txt"));
    remapHelp_ = new RemapHelpWindow(&owner);
    for (QWidget* window : all())
        adopt(window);
}

std::vector<QWidget*> ToolWindows::all() const {
    return {moveMesh_,  remap_,     lightingEditor_, swap_,        find_,      choose_,   preview_,
            moveables_, aboutMesh_, aboutMeshes_,    colourGuide_, keysGuide_, remapHelp_};
}

void ToolWindows::adopt(QWidget* window) {
    // Tabs are never clipped behind scroll arrows: the window is as wide as they are.
    for (QTabWidget* tabs : window->findChildren<QTabWidget*>())
        tabs->setUsesScrollButtons(false);
    window->installEventFilter(this);
}

bool ToolWindows::eventFilter(QObject* watched, QEvent* event) {
    // The show event comes before the window is mapped: the place and size set
    // here are the ones it appears with.
    if (event->type() == QEvent::Show) {
        auto* window = qobject_cast<QWidget*>(watched);
        if (window && window->isWindow() &&
            std::find(placed_.begin(), placed_.end(), window) == placed_.end()) {
            placed_.push_back(window);
            placeFirstTime(*window);
        }
    }
    return QObject::eventFilter(watched, event);
}

void ToolWindows::placeFirstTime(QWidget& window) {
    const QScreen* screen = owner_.screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // A window not yet shown has no frame: take the main window's, which the
    // same window manager drew.
    const QRect ownerFrame = owner_.frameGeometry();
    const QRect ownerInside = owner_.geometry();
    const QMargins frame(
        ownerInside.left() - ownerFrame.left(), ownerInside.top() - ownerFrame.top(),
        ownerFrame.right() - ownerInside.right(), ownerFrame.bottom() - ownerInside.bottom());
    // A maximised window may lose the borders a tool window keeps: a little room
    // to spare on every side.
    const QMargins room = frame + QMargins(2, 2, 2, 2);
    const QSize frameSize(room.left() + room.right(), room.top() + room.bottom());

    std::vector<QRect> keepClear{globalRect(*owner_.pageGroup())};
    RenderWindow& render = editor_.renderWindow();
    if (render.isVisible())
        keepClear.push_back(middleOf(render.view()));

    // Big enough for all its content; smaller, down to its minimum, only where
    // that is what keeps it clear of the page and the view's middle.
    const QSize minimum = window.minimumSizeHint().expandedTo(window.minimumSize());
    QSize size = window.size().expandedTo(window.sizeHint()).expandedTo(minimum);
    size = size.boundedTo(area.size() - frameSize);
    Placement place = placeClearOf(size + frameSize, area, keepClear);
    while (place.overlap > 0) {
        const QSize smaller = (size * 0.85).expandedTo(minimum);
        if (smaller == size)
            break;
        const Placement tried = placeClearOf(smaller + frameSize, area, keepClear);
        size = smaller;
        place = tried;
    }
    window.resize(size);
    // Before the first show the position is the inside's, not the frame's.
    window.move(place.at + QPoint(room.left(), room.top()));
}

ToolWindows::Placement ToolWindows::placeClearOf(QSize size, QRect screen,
                                                 const std::vector<QRect>& keepClear) {
    const auto overlap = [&](const QRect& r) {
        long long total = 0;
        for (const QRect& k : keepClear) {
            const QRect common = r.intersected(k);
            total += static_cast<long long>(common.width()) * common.height();
        }
        return total;
    };
    const int w = size.width(), h = size.height();
    // Right edge first, then beside or below each area to keep clear, then the
    // screen's other corners.
    std::vector<int> xs{screen.right() + 1 - w};
    std::vector<int> ys{screen.top(), screen.bottom() + 1 - h};
    for (const QRect& k : keepClear) {
        xs.push_back(k.right() + 1);
        xs.push_back(k.left() - w);
        ys.push_back(k.bottom() + 1);
        ys.push_back(k.top() - h);
    }
    xs.push_back(screen.left());
    Placement best{screen.topLeft(), -1};
    for (int y : ys) {
        for (int x : xs) {
            const QRect r(QPoint(x, y), size);
            if (!screen.contains(r))
                continue;
            const long long o = overlap(r);
            if (best.overlap < 0 || o < best.overlap)
                best = {r.topLeft(), o};
        }
    }
    if (best.overlap < 0) // larger than the screen: its top left corner
        best.overlap = overlap(QRect(best.at, size));
    return best;
}

} // namespace kavlen
