#pragma once

#include <functional>
#include <memory>

#include "Platform/SwiftUI/ObservableObject.h"

namespace SwiftUI {

/// A value a view reads and writes without owning it: a getter and a setter. A setter may
/// refuse or change what it is given; the view shows whatever the getter says afterwards.
template <class T>
class Binding {
  public:
    Binding(std::function<T()> get, std::function<void(const T&)> set)
        : get_(std::move(get)), set_(std::move(set)) {}

    /// A binding that always reads `value` and drops what is written.
    static Binding constant(T value) {
        return Binding([value] { return value; }, [](const T&) {});
    }
    /// A binding to a published value; the object must outlive the views that use it.
    static Binding to(Published<T>& published) {
        Published<T>* target = &published;
        return Binding([target] { return target->get(); },
                       [target](const T& value) { target->set(value); });
    }

    T get() const { return get_ ? get_() : T{}; }
    void set(const T& value) const {
        if (set_) set_(value);
    }
    T operator()() const { return get(); }

    /// A binding of another type read and written through this one.
    template <class U>
    Binding<U> map(std::function<U(const T&)> read, std::function<T(const U&)> write) const {
        Binding<T> base = *this;
        return Binding<U>([base, read] { return read(base.get()); },
                          [base, write](const U& value) { base.set(write(value)); });
    }

  private:
    std::function<T()> get_;
    std::function<void(const T&)> set_;
};

}  // namespace SwiftUI
