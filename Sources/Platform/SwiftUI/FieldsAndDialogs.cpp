#include <cmath>
#include <cstdio>

#include "Platform/AppKit/NSAlert.h"
#include "Platform/SwiftUI/ControlSupport.h"
#include "Platform/SwiftUI/Controls.h"
#include "Platform/SwiftUI/LayoutServices.h"
#include "Platform/SwiftUI/ModifierNode.h"
#include "Platform/SwiftUI/Shape.h"

namespace SwiftUI {

namespace {

/// "#RRGGBB" of a colour's sRGB components.
std::string hexText(const Color& color) {
    auto channel = [](double value) {
        if (std::isnan(value)) value = 0;
        return static_cast<int>(std::lround(std::clamp(value, 0.0, 1.0) * 255));
    };
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", channel(color.value().red),
                  channel(color.value().green), channel(color.value().blue));
    return text;
}

/// Removes the last character (not the last byte) of UTF-8 text.
void removeLastCharacter(std::string& text) {
    while (!text.empty()) {
        const unsigned char last = static_cast<unsigned char>(text.back());
        text.pop_back();
        if ((last & 0xC0) != 0x80) break;
    }
}

/// Shows the dialog on the desktop once its binding asks for it, after the pass.
class DialogNode final : public ModifierNode {
  public:
    DialogNode(View content, std::string title, Binding<bool> isPresented,
               std::vector<DialogButton> buttons, std::string message)
        : ModifierNode(std::move(content)),
          title_(std::move(title)),
          isPresented_(std::move(isPresented)),
          buttons_(std::move(buttons)),
          message_(std::move(message)) {
        answerAs(content_);
    }

    void place(const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) const override {
        placeContent(frame, environment, parent);
        LayoutServices* services = environment.services;
        if (!services || services->inTrial()) return;
        bool& showing = services->stored(environment.key("#dialog"), false);
        if (!isPresented_.get() || showing) return;
        showing = true;
        const std::string key = environment.key("#dialog");
        services->afterLayout([services, key, title = title_, presented = isPresented_,
                               buttons = buttons_, message = message_] {
            NSAlert alert;
            alert.messageText = title;
            alert.informativeText = message;
            for (const DialogButton& button : buttons)
                alert.addButtonWithTitle(button.title);
            const NSModalResponse response = alert.runModal();
            services->stored(key, false) = false;
            presented.set(false);
            const long index = response - NSAlertFirstButtonReturn;
            if (index >= 0 && static_cast<std::size_t>(index) < buttons.size() &&
                buttons[static_cast<std::size_t>(index)].action)
                buttons[static_cast<std::size_t>(index)].action();
        });
    }

  private:
    std::string title_;
    Binding<bool> isPresented_;
    std::vector<DialogButton> buttons_;
    std::string message_;
};

}  // namespace

View TextField(const std::string& placeholder, const Binding<std::string>& text) {
    const std::string current = text.get();
    const View look =
        EnvironmentReader([current, placeholder](const EnvironmentValues& environment) {
            const bool focused =
                environment.services && environment.services->focusedField == environment.pathHash;
            const View shown = current.empty()
                                   ? Text(placeholder).foregroundColor(ControlColors::placeholder())
                                   : Text(current).foregroundColor(ControlColors::text());
            return shown.lineLimit(1)
                .padding(EdgeInsets{3, 6, 3, 6})
                .frame(FlexibleFrame{.idealWidth = 120,
                                     .maxWidth = infinity,
                                     .minHeight = 22,
                                     .alignment = Alignment::leading()})
                .background(RoundedRectangle(5).fill(Color::white().opacity(0.06)))
                .overlay(RoundedRectangle(5).strokeBorder(focused ? environment.tint.opacity(0.8)
                                                                  : ControlColors::edge()));
        });
    return View(std::make_shared<DecoratingNode>(
        control(look, AccessibilityElement{"textField", placeholder, current},
                [](CGPoint, const CGRect&, const EnvironmentValues& environment) {
                    if (!environment.services) return;
                    environment.services->focusedField = environment.pathHash;
                    environment.services->invalidate();
                }),
        [text](LayoutNode& node, const EnvironmentValues& environment) {
            node.focused =
                environment.services && environment.services->focusedField == environment.pathHash;
            node.onText = [text](const std::string& typed) {
                std::string value = text.get();
                if (typed == "\b") {
                    removeLastCharacter(value);
                } else {
                    value += typed;
                }
                text.set(value);
            };
        }));
}

View ColorPicker(const std::string& label, const Binding<Color>& selection) {
    const Color current = selection.get();
    const View swatch =
        RoundedRectangle(4)
            .fill(Color(current.value().red, current.value().green, current.value().blue))
            .overlay(RoundedRectangle(4).strokeBorder(Color::white().opacity(0.25)))
            .padding(3)
            .background(RoundedRectangle(6).fill(ControlColors::fill()))
            .frame(44, 23);
    return control(swatch, AccessibilityElement{"colorWell", label, hexText(current)},
                   [selection](CGPoint, const CGRect&, const EnvironmentValues& environment) {
                       LayoutServices* services = environment.services;
                       if (!services || !services->presentColorPanel) return;
                       services->presentColorPanel(
                           selection.get(),
                           [selection](const Color& picked) { selection.set(picked); });
                   });
}

View View::confirmationDialog(const std::string& title, const Binding<bool>& isPresented,
                              std::vector<DialogButton> buttons, const std::string& message) const {
    return View(
        std::make_shared<DialogNode>(*this, title, isPresented, std::move(buttons), message));
}

}  // namespace SwiftUI
