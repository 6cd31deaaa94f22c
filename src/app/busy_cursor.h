// Shows the busy cursor while it lives.
#pragma once

#include <QCursor>
#include <QGuiApplication>

namespace kavlen {

class BusyCursor {
  public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { release(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    // Back to the normal cursor early, e.g. before a message box.
    void release() {
        if (active_)
            QGuiApplication::restoreOverrideCursor();
        active_ = false;
    }

  private:
    bool active_ = true;
};

} // namespace kavlen
