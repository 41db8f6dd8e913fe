#pragma once

#include <any>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <typeindex>

#include "Platform/SwiftUI/Color.h"
#include "Platform/SwiftUI/Font.h"
#include "Platform/SwiftUI/LayoutGeometry.h"

namespace SwiftUI {

class LayoutServices;

enum class TextAlignment { leading, center, trailing };

enum class ButtonStyle { automatic, plain, bordered, borderedProminent, borderless };

/// What flows down the view tree while it is laid out: the values views read (font, colours,
/// enabled state, line limit, custom keys), the opacity the ancestors apply, the identity path
/// of the view being placed, and the services of the graph that lays it out.
///
/// A custom key is a type with a `Value` type and a `static Value defaultValue()`.
class EnvironmentValues {
  public:
    Font font;
    /// The colour of text and symbols; none for the platform's label colour.
    std::optional<Color> foregroundColor;
    Color tint = Color::accentColor();
    bool isEnabled = true;
    std::optional<int> lineLimit;
    TextAlignment multilineTextAlignment = TextAlignment::leading;
    ButtonStyle buttonStyle = ButtonStyle::automatic;
    bool labelsHidden = false;
    /// The product of the ancestors' opacities.
    double opacity = 1;
    /// The axis of the stack the view is a direct child of, if any: spacers and dividers
    /// stretch along it.
    std::optional<LayoutAxis> stackAxis;
    /// The identity of the view being placed: a hash of its ancestors' positions and explicit
    /// ids, from the root down.
    std::size_t pathHash = 0;
    LayoutServices* services = nullptr;

    /// The label colour of the dark look, for text that sets none.
    static Color labelColor() { return Color::white().opacity(0.85); }
    Color resolvedForeground() const { return foregroundColor ? *foregroundColor : labelColor(); }

    template <class Key>
    typename Key::Value get() const {
        if (!custom_) return Key::defaultValue();
        auto found = custom_->find(std::type_index(typeid(Key)));
        if (found == custom_->end()) return Key::defaultValue();
        return std::any_cast<typename Key::Value>(found->second);
    }
    template <class Key>
    void set(typename Key::Value value) {
        // Copies share the values until one of them sets another.
        auto values = custom_ ? std::make_shared<std::map<std::type_index, std::any>>(*custom_)
                              : std::make_shared<std::map<std::type_index, std::any>>();
        (*values)[std::type_index(typeid(Key))] = std::move(value);
        custom_ = std::move(values);
    }

    /// The environment of the child at a position, or under an explicit id or a role.
    EnvironmentValues child(std::size_t position) const;
    /// The identity path of the child at a position under a parent's path (asked for every
    /// child a layout meets, so kept where the compiler can fold it in).
    static std::size_t childPath(std::size_t parentPath, std::size_t position) {
        return combined(parentPath, position);
    }
    EnvironmentValues child(const std::string& component) const;
    /// The key under which the view being placed keeps something across passes.
    std::string key(const char* purpose) const;

  private:
    static std::size_t combined(std::size_t parent, std::size_t component) {
        return (parent ^ (component + 0x9e3779b97f4a7c15ULL + (parent << 6) + (parent >> 2))) *
                   0x100000001b3ULL +
               1;
    }

    std::shared_ptr<const std::map<std::type_index, std::any>> custom_;
};

}  // namespace SwiftUI
