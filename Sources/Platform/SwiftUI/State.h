#pragma once

#include <functional>
#include <memory>
#include <string>

#include "Platform/SwiftUI/Binding.h"
#include "Platform/SwiftUI/View.h"

namespace SwiftUI {

class LayoutServices;

/// Storage a view keeps across evaluations, found by the view's identity: made from
/// `initial` the first time the view is laid out, and written through the binding the
/// content is built with; a write evaluates the views again on the next turn.
template <class T>
View WithState(T initial, std::function<View(const Binding<T>&)> content);

/// The untyped form the template builds on.
View WithStateErased(std::function<std::shared_ptr<void>()> make,
                     std::function<View(const std::shared_ptr<void>&, LayoutServices*)> content);

void invalidateServices(LayoutServices* services);

template <class T>
View WithState(T initial, std::function<View(const Binding<T>&)> content) {
    return WithStateErased(
        [initial] { return std::static_pointer_cast<void>(std::make_shared<T>(initial)); },
        [content](const std::shared_ptr<void>& box, LayoutServices* services) {
            std::shared_ptr<T> value = std::static_pointer_cast<T>(box);
            return content(Binding<T>([value] { return *value; },
                                      [value, services](const T& next) {
                                          *value = next;
                                          invalidateServices(services);
                                      }));
        });
}

}  // namespace SwiftUI
