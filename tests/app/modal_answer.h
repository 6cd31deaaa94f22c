// Answers a modal dialog from inside its event loop: a timer waits until a dialog
// of type D is the active modal widget and then runs the test's answer on it.
#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>
#include <memory>

namespace kavlen {

class ModalAnswer {
  public:
    template <typename D> void when(std::function<void(D&)> answer) {
        answered_ = false;
        timer_ = std::make_unique<QTimer>();
        timer_->setInterval(5);
        QObject::connect(timer_.get(), &QTimer::timeout, [this, answer = std::move(answer)] {
            auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            timer_->stop();
            answered_ = true;
            answer(*dialog);
        });
        timer_->start();
    }
    // Whether the dialog showed and was answered.
    bool answered() const { return answered_; }
    void stop() {
        if (timer_)
            timer_->stop();
    }

  private:
    std::unique_ptr<QTimer> timer_;
    bool answered_ = false;
};

} // namespace kavlen
