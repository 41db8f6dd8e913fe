#pragma once

#include <functional>
#include <map>
#include <memory>
#include <utility>

namespace SwiftUI {

/// A model that views observe: each change of one of its published values tells every
/// observer, which marks its hosting view to be evaluated again (once, on the next turn of
/// the main loop, however many values changed).
class ObservableObject {
  public:
    /// Ends the observation when destroyed.
    class Subscription {
      public:
        Subscription() = default;
        Subscription(std::weak_ptr<std::map<int, std::function<void()>>> observers, int id)
            : observers_(std::move(observers)), id_(id) {}
        ~Subscription();
        Subscription(Subscription&& other) noexcept;
        Subscription& operator=(Subscription&& other) noexcept;
        Subscription(const Subscription&) = delete;
        Subscription& operator=(const Subscription&) = delete;

      private:
        void end();
        std::weak_ptr<std::map<int, std::function<void()>>> observers_;
        int id_ = 0;
    };

    ObservableObject() = default;
    virtual ~ObservableObject() = default;
    ObservableObject(const ObservableObject&) = delete;
    ObservableObject& operator=(const ObservableObject&) = delete;

    /// Calls `observer` before every change until the subscription ends.
    [[nodiscard]] Subscription subscribe(std::function<void()> observer);
    /// Tells every observer that a value is about to change.
    void objectWillChange();

  private:
    std::shared_ptr<std::map<int, std::function<void()>>> observers_ =
        std::make_shared<std::map<int, std::function<void()>>>();
    int nextID_ = 1;
};

/// A published value of an observable object: setting it tells the object's observers.
template <class T>
class Published {
  public:
    Published(ObservableObject& owner, T value) : owner_(owner), value_(std::move(value)) {}
    Published(const Published&) = delete;
    Published& operator=(const Published&) = delete;

    const T& get() const { return value_; }
    operator const T&() const { return value_; }
    const T* operator->() const { return &value_; }
    Published& operator=(T value) {
        set(std::move(value));
        return *this;
    }
    void set(T value) {
        owner_.objectWillChange();
        value_ = std::move(value);
    }
    /// Changes the value in place, telling the observers first.
    template <class Change>
    void modify(Change&& change) {
        owner_.objectWillChange();
        std::forward<Change>(change)(value_);
    }

  private:
    ObservableObject& owner_;
    T value_;
};

}  // namespace SwiftUI
