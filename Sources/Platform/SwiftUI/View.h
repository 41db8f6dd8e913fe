#pragma once

#include <any>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <typeindex>
#include <vector>

#include "Platform/SwiftUI/Binding.h"
#include "Platform/SwiftUI/Color.h"
#include "Platform/SwiftUI/EnvironmentValues.h"
#include "Platform/SwiftUI/LayoutGeometry.h"
#include "Platform/SwiftUI/LayoutNode.h"

namespace SwiftUI {

class ViewNode;
class Shape;
struct Animation;

/// The roles of a dialog's buttons.
enum class ButtonRole { none, destructive, cancel };
struct DialogButton {
    std::string title = {};
    ButtonRole role = ButtonRole::none;
    std::function<void()> action = nullptr;
};

/// A frame with bounds: each length limited to its minimum and maximum (infinity for "as much
/// as offered"), an ideal length used when nothing is offered.
struct FlexibleFrame {
    std::optional<CGFloat> minWidth = std::nullopt;
    std::optional<CGFloat> idealWidth = std::nullopt;
    std::optional<CGFloat> maxWidth = std::nullopt;
    std::optional<CGFloat> minHeight = std::nullopt;
    std::optional<CGFloat> idealHeight = std::nullopt;
    std::optional<CGFloat> maxHeight = std::nullopt;
    Alignment alignment = Alignment::center();
};

/// What a preference key combines: a type with `Value`, `static Value defaultValue()` and
/// `static void reduce(Value& value, Value next)`. Erased here so one node kind serves all.
struct PreferenceKeyOps {
    std::type_index key = std::type_index(typeid(void));
    std::function<std::any()> defaultValue = nullptr;
    std::function<void(std::any&, const std::any&)> reduce = nullptr;
    std::function<bool(const std::any&, const std::any&)> equal = nullptr;

    template <class Key>
    static PreferenceKeyOps of() {
        using Value = typename Key::Value;
        return {std::type_index(typeid(Key)), [] { return std::any(Key::defaultValue()); },
                [](std::any& value, const std::any& next) {
                    Value combined = std::any_cast<Value>(value);
                    Key::reduce(combined, std::any_cast<Value>(next));
                    value = combined;
                },
                [](const std::any& a, const std::any& b) {
                    return std::any_cast<Value>(a) == std::any_cast<Value>(b);
                }};
    }
};

/// A view: an immutable value built by a function of its model, with modifiers that wrap it
/// in new values. Copies share their nodes.
class View {
  public:
    /// The empty view: no size, no room in a stack.
    View();
    explicit View(std::shared_ptr<const ViewNode> node);

    const ViewNode& node() const { return *node_; }
    const std::shared_ptr<const ViewNode>& nodePointer() const { return node_; }
    bool isEmpty() const;

    // Size and place.
    View frame(std::optional<CGFloat> width, std::optional<CGFloat> height,
               Alignment alignment = {}) const;
    View frame(const FlexibleFrame& frame) const;
    View fixedSize(bool horizontal = true, bool vertical = true) const;
    /// The platform's standard padding (16 points) on every edge.
    View padding() const;
    View padding(CGFloat amount) const;
    View padding(Edges edges, CGFloat amount) const;
    View padding(const EdgeInsets& insets) const;
    View offset(CGFloat x, CGFloat y) const;
    View zIndex(double value) const;

    // Decoration.
    View background(const View& view, Alignment alignment = {}) const;
    View overlay(const View& view, Alignment alignment = {}) const;
    View opacity(double value) const;
    View shadow(const Color& color, CGFloat radius, CGFloat x = 0, CGFloat y = 0) const;
    View clipShape(const Shape& shape) const;
    View clipped() const;
    View cornerRadius(CGFloat radius) const;
    /// The whole frame takes clicks, not only what is drawn.
    View contentShape(const Shape& shape) const;
    View ignoresSafeArea() const { return *this; }

    // Values for the views below.
    View font(const Font& font) const;
    View foregroundColor(const Color& color) const;
    View foregroundStyle(const Color& color) const { return foregroundColor(color); }
    View tint(const Color& color) const;
    View lineLimit(std::optional<int> limit) const;
    View multilineTextAlignment(TextAlignment alignment) const;
    View disabled(bool disabled) const;
    View transformEnvironment(std::function<void(EnvironmentValues&)> transform) const;
    template <class Key>
    View environment(typename Key::Value value) const {
        return transformEnvironment(
            [value](EnvironmentValues& environment) { environment.set<Key>(value); });
    }

    // Identity, accessibility and interaction.
    View id(const std::string& identity) const;
    View help(const std::string& tooltip) const;
    View accessibilityHidden(bool hidden) const;
    View accessibilityLabel(const std::string& label) const;
    View accessibilityIdentifier(const std::string& identifier) const;
    View onTapGesture(std::function<void()> action) const;
    View onHover(std::function<void(bool)> action) const;
    View allowsHitTesting(bool enabled) const;
    View keyboardShortcut(const KeyboardShortcut& shortcut) const;

    // Controls.
    /// The look of the buttons below.
    View buttonStyle(ButtonStyle style) const;
    /// The controls below show without their labels.
    View labelsHidden() const;
    /// While `isPresented` is true, the desktop shows an alert with the title, the message and
    /// the buttons in order; the pressed button's action runs and `isPresented` becomes false.
    View confirmationDialog(const std::string& title, const Binding<bool>& isPresented,
                            std::vector<DialogButton> buttons, const std::string& message) const;

    // Life and change.
    View onAppear(std::function<void()> action) const;
    View onDisappear(std::function<void()> action) const;
    template <class Value>
    View onChange(const Value& value, std::function<void(const Value&)> action) const {
        return onChangeErased(
            std::any(value),
            [](const std::any& a, const std::any& b) {
                return std::any_cast<Value>(a) == std::any_cast<Value>(b);
            },
            [action](const std::any& now) { action(std::any_cast<Value>(now)); });
    }
    View onChangeErased(std::any value, std::function<bool(const std::any&, const std::any&)> equal,
                        std::function<void(const std::any&)> action) const;

    // Preferences.
    template <class Key>
    View preference(typename Key::Value value) const {
        return preferenceErased(PreferenceKeyOps::of<Key>(), std::any(value));
    }
    template <class Key>
    View onPreferenceChange(std::function<void(const typename Key::Value&)> action) const {
        return onPreferenceChangeErased(PreferenceKeyOps::of<Key>(), [action](const std::any& v) {
            action(std::any_cast<typename Key::Value>(v));
        });
    }
    View preferenceErased(PreferenceKeyOps key, std::any value) const;
    View onPreferenceChangeErased(PreferenceKeyOps key,
                                  std::function<void(const std::any&)> action) const;

    // Motion.
    /// Changes of `value` animate the opacity and scale of the views below over the
    /// animation's curve, on the runtime's clock.
    template <class Value>
    View animation(const Animation& animation, const Value& value) const {
        return animationErased(animation, std::any(value),
                               [](const std::any& a, const std::any& b) {
                                   return std::any_cast<Value>(a) == std::any_cast<Value>(b);
                               });
    }
    View animationErased(const Animation& animation, std::any value,
                         std::function<bool(const std::any&, const std::any&)> equal) const;
    View scaleEffect(CGFloat scale) const;

  protected:
    std::shared_ptr<const ViewNode> node_;
};

// Containers and plain views.
View VStack(HorizontalAlignment alignment, std::optional<CGFloat> spacing,
            std::vector<View> content);
View VStack(std::vector<View> content);
View HStack(VerticalAlignment alignment, std::optional<CGFloat> spacing, std::vector<View> content);
View HStack(std::vector<View> content);
View ZStack(Alignment alignment, std::vector<View> content);
View ZStack(std::vector<View> content);
/// Views spread into the container around them.
View Group(std::vector<View> content);
template <class Collection, class Build>
View ForEach(const Collection& items, Build build) {
    std::vector<View> views;
    for (const auto& item : items)
        views.push_back(build(item));
    return Group(std::move(views));
}
View Spacer(std::optional<CGFloat> minLength = std::nullopt);
/// A one-point line across the stack it is in.
View Divider();
View EmptyView();
/// Takes all it is offered and builds its content for that size.
struct GeometryProxy {
    CGSize size;
    /// The reader's frame in the root's coordinates.
    CGRect frame;
};
View GeometryReader(std::function<View(const GeometryProxy&)> content);
/// Builds its content from the environment of the place it is laid out in.
View EnvironmentReader(std::function<View(const EnvironmentValues&)> content);

/// The platform's default spacing between adjacent views of a stack.
inline constexpr CGFloat defaultSpacing = 8;

}  // namespace SwiftUI
