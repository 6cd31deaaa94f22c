// Listeners with a way to unsubscribe: `add` returns a Subscription that removes
// its listener when it is reset or destroyed. A Subscription may outlive the
// list; a list may call its listeners while one of them unsubscribes another.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace kavlen {

class Subscription {
  public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    Subscription(Subscription&& other) noexcept : cancel_(std::exchange(other.cancel_, {})) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            reset();
            cancel_ = std::exchange(other.cancel_, {});
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { reset(); }

    void reset() {
        if (auto cancel = std::exchange(cancel_, {}))
            cancel();
    }

  private:
    std::function<void()> cancel_;
};

template <typename... Args> class ListenerList {
  public:
    using Listener = std::function<void(Args...)>;

    [[nodiscard]] Subscription add(Listener listener) {
        const int id = state_->nextId++;
        state_->entries.push_back({id, std::move(listener)});
        std::weak_ptr<State> weak = state_;
        return Subscription([weak, id] {
            if (auto state = weak.lock())
                std::erase_if(state->entries, [id](const Entry& e) { return e.id == id; });
        });
    }

    void notify(Args... args) const {
        // A copy: listeners may subscribe or unsubscribe while being told.
        const auto state = state_;
        const std::vector<Entry> entries = state->entries;
        for (const Entry& e : entries) {
            const bool stillThere = std::any_of(state->entries.begin(), state->entries.end(),
                                                [&](const Entry& x) { return x.id == e.id; });
            if (stillThere)
                e.listener(args...);
        }
    }

  private:
    struct Entry {
        int id;
        Listener listener;
    };
    struct State {
        std::vector<Entry> entries;
        int nextId = 0;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

} // namespace kavlen
