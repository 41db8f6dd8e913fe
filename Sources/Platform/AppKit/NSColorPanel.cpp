#include "Platform/AppKit/NSColorPanel.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string_view>

#include "Base/Foundation/DispatchQueue.h"
#include "Simulator/SharedConnection.h"

namespace {

int channel(double component) {
    if (!std::isfinite(component)) return 0;
    return static_cast<int>(std::round(std::clamp(component, 0.0, 1.0) * 255));
}

}  // namespace

NSColorPanel& NSColorPanel::sharedColorPanel() {
    static NSColorPanel panel;
    return panel;
}

NSColorPanel::NSColorPanel() : color_(NSColor::whiteColor()) {}

void NSColorPanel::setColor(NSColorRef color) {
    color_ = color ? std::move(color) : NSColor::whiteColor();
}

std::string NSColorPanel::hexText(const NSColor& color) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text = "#";
    for (const double component :
         {color.redComponent(), color.greenComponent(), color.blueComponent()}) {
        const int value = channel(component);
        text += digits[value >> 4];
        text += digits[value & 0xF];
    }
    return text;
}

NSColorRef NSColorPanel::colorOfHexText(const std::string& text) {
    if (text.size() != 7 || text[0] != '#') return nullptr;
    double components[3];
    for (int i = 0; i < 3; ++i) {
        int value = 0;
        for (const char c : text.substr(1 + 2 * i, 2)) {
            const auto digit =
                std::string_view("0123456789ABCDEF")
                    .find(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
            if (digit == std::string_view::npos) return nullptr;
            value = value * 16 + static_cast<int>(digit);
        }
        components[i] = value / 255.0;
    }
    return NSColor::colorWithSRGBRed(components[0], components[1], components[2], 1);
}

void NSColorPanel::orderFront(const void*) {
    visible_ = true;
    const auto picked = sim::SharedConnection::current()->showColorPanel(
        sim::ColorPanelSpec{hexText(*color_), showsAlpha_});
    if (!picked) {
        DispatchQueue::main().async([] { sharedColorPanel().close(); });
        return;
    }
    DispatchQueue::main().async([hex = *picked] { sharedColorPanel().pick(hex); });
}

void NSColorPanel::pick(const std::string& hex) {
    if (const NSColorRef picked = colorOfHexText(hex)) {
        color_ = picked;
        if (action_) action_(*this);
    }
    visible_ = false;
}
