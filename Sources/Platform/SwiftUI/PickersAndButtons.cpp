#include <algorithm>

#include "Platform/SwiftUI/ControlSupport.h"
#include "Platform/SwiftUI/Controls.h"
#include "Platform/SwiftUI/LayoutServices.h"
#include "Platform/SwiftUI/Shape.h"

namespace SwiftUI {

namespace {

struct ButtonLook {
    static constexpr CGFloat cornerRadius = 6;
    static constexpr CGFloat horizontalPadding = 10;
    static constexpr CGFloat verticalPadding = 3;
    static constexpr CGFloat minimumHeight = 22;
};

/// The label of a laid-out control: the characters of its first text.
std::string labelOf(const LayoutNode& node) {
    const LayoutNode* text =
        node.find([](const LayoutNode& n) { return n.kind == NodeKind::text; });
    return text ? text->text : std::string();
}

View styledLabel(const View& label, ButtonStyle style, const EnvironmentValues& environment) {
    switch (style) {
        case ButtonStyle::plain:
        case ButtonStyle::borderless:
            return label;
        case ButtonStyle::borderedProminent:
            return label.foregroundColor(Color::white())
                .padding(EdgeInsets{ButtonLook::verticalPadding, ButtonLook::horizontalPadding,
                                    ButtonLook::verticalPadding, ButtonLook::horizontalPadding})
                .frame(FlexibleFrame{.minHeight = ButtonLook::minimumHeight})
                .background(RoundedRectangle(ButtonLook::cornerRadius).fill(environment.tint));
        case ButtonStyle::automatic:
        case ButtonStyle::bordered:
            break;
    }
    return label.foregroundColor(ControlColors::text())
        .padding(EdgeInsets{ButtonLook::verticalPadding, ButtonLook::horizontalPadding,
                            ButtonLook::verticalPadding, ButtonLook::horizontalPadding})
        .frame(FlexibleFrame{.minHeight = ButtonLook::minimumHeight})
        .background(RoundedRectangle(ButtonLook::cornerRadius).fill(ControlColors::raisedFill()))
        .overlay(RoundedRectangle(ButtonLook::cornerRadius).strokeBorder(ControlColors::edge()));
}

View segmented(const Binding<std::optional<std::size_t>>& selection,
               const std::vector<PickerItem>& items) {
    const std::optional<std::size_t> chosen = selection.get();
    std::vector<View> segments;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].divider) continue;
        const bool selected = chosen == i;
        const View look = Text(items[i].title)
                              .foregroundColor(ControlColors::text())
                              .lineLimit(1)
                              .padding(EdgeInsets{2, 10, 2, 10})
                              .frame(FlexibleFrame{.minHeight = 18})
                              .background(RoundedRectangle(5).fill(
                                  selected ? ControlColors::selectedFill() : Color::clear()))
                              // Each segment shows its whole title.
                              .fixedSize();
        segments.push_back(
            control(look, AccessibilityElement{"button", items[i].title, selected ? "1" : "0"},
                    [selection, i](CGPoint, const CGRect&, const EnvironmentValues&) {
                        selection.set(i);
                    }));
    }
    const std::string value = chosen && *chosen < items.size() ? items[*chosen].title : "";
    const View look = HStack(VerticalAlignment::center, 2, std::move(segments))
                          .padding(2)
                          .background(RoundedRectangle(6).fill(ControlColors::fill()))
                          .overlay(RoundedRectangle(6).strokeBorder(ControlColors::edge()));
    return control(look, AccessibilityElement{"segmented", "", value}, nullptr);
}

std::vector<MenuEntry> menuEntries(const std::vector<PickerItem>& items,
                                   std::optional<std::size_t> chosen) {
    std::vector<MenuEntry> entries;
    for (std::size_t i = 0; i < items.size(); ++i)
        entries.push_back(
            MenuEntry{items[i].title, !items[i].divider, chosen == i, items[i].divider});
    return entries;
}

/// A pop-up button's face: the title and the double chevron, on a raised rounded rectangle.
View popUpFace(const std::string& title) {
    return HStack(VerticalAlignment::center, 6,
                  {Text(title).foregroundColor(ControlColors::text()).lineLimit(1),
                   VStack(HorizontalAlignment::center, 2,
                          {chevron(true, ControlColors::text()).frame(6, 3),
                           chevron(false, ControlColors::text()).frame(6, 3)})})
        .padding(EdgeInsets{3, 9, 3, 7})
        .frame(FlexibleFrame{.minHeight = ButtonLook::minimumHeight})
        .background(RoundedRectangle(5).fill(ControlColors::raisedFill()))
        .overlay(RoundedRectangle(5).strokeBorder(ControlColors::edge()));
}

View popUp(const Binding<std::optional<std::size_t>>& selection,
           const std::vector<PickerItem>& items) {
    const std::optional<std::size_t> chosen = selection.get();
    const std::string title = chosen && *chosen < items.size() ? items[*chosen].title : "";
    return control(
        popUpFace(title), AccessibilityElement{"popUpButton", "", title},
        [selection, items](CGPoint, const CGRect& frame, const EnvironmentValues& environment) {
            LayoutServices* services = environment.services;
            if (!services || !services->presentMenu) return;
            services->presentMenu(menuEntries(items, selection.get()), frame,
                                  [selection, items](std::size_t index) {
                                      if (index < items.size() && !items[index].divider)
                                          selection.set(index);
                                  });
        });
}

}  // namespace

View Button(View label, std::function<void()> action) {
    const View look = EnvironmentReader([label](const EnvironmentValues& environment) {
        return styledLabel(label, environment.buttonStyle, environment);
    });
    return control(
        look, AccessibilityElement{"button", "", std::nullopt},
        [action](CGPoint, const CGRect&, const EnvironmentValues&) {
            if (action) action();
        },
        [](LayoutNode& node) {
            if (node.element->label.empty()) node.element->label = labelOf(node);
        });
}

View Button(const std::string& title, std::function<void()> action) {
    return Button(Text(title), std::move(action));
}

View View::buttonStyle(ButtonStyle style) const {
    return transformEnvironment(
        [style](EnvironmentValues& environment) { environment.buttonStyle = style; });
}

View View::labelsHidden() const {
    return transformEnvironment(
        [](EnvironmentValues& environment) { environment.labelsHidden = true; });
}

View PickerByIndex(const Binding<std::optional<std::size_t>>& selection,
                   std::vector<PickerItem> items, PickerStyle style) {
    return style == PickerStyle::segmented ? segmented(selection, items) : popUp(selection, items);
}

View Menu(const std::string& label, std::vector<MenuItem> items) {
    const View face =
        HStack(VerticalAlignment::center, 4,
               {Text(label).lineLimit(1), chevron(false, ControlColors::text()).frame(7, 4)});
    return control(face, AccessibilityElement{"popUpButton", label, std::nullopt},
                   [items](CGPoint, const CGRect& frame, const EnvironmentValues& environment) {
                       LayoutServices* services = environment.services;
                       if (!services || !services->presentMenu) return;
                       std::vector<MenuEntry> entries;
                       for (const MenuItem& item : items)
                           entries.push_back(MenuEntry{item.title, static_cast<bool>(item.action)});
                       services->presentMenu(entries, frame, [items](std::size_t index) {
                           if (index < items.size() && items[index].action) items[index].action();
                       });
                   });
}

}  // namespace SwiftUI
