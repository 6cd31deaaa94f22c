// The "Remap Help" tool window: how to bring the skin points that join the joint
// meshes under the remap limit, and the vertex numbers the head must give the
// points where the braid (or the two pigtails) attach.
#pragma once

#include "meshedit/face_attributes.h"

#include <QImage>
#include <QWidget>

class QTabWidget;

namespace kavlen {

class RemapHelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit RemapHelpWindow(QWidget* owner);
    QTabWidget* pages() const { return pages_; }

  private:
    QTabWidget* pages_ = nullptr;
};

// The head seen from behind with the hair vertex numbers of `set` (Lara or
// Young Lara) where the hair attaches.
QImage hairNumberingPicture(HairHighlight set);

// The instructions page's text.
QString remapInstructions();

} // namespace kavlen
