#include "KelvoApp/Views/Settings/ValueControls.h"

#include <cstdio>

#include "KelvoApp/Views/Palette.h"
#include "KelvoCore/Color/HexColor.h"
#include "Platform/SwiftUI/Shape.h"
#include "Platform/SwiftUI/Text.h"

namespace kelvo {

using namespace SwiftUI;

View Switch::body() const {
    return Toggle("", isOn).labelsHidden();
}

View Counter::body() const {
    char number[24];
    std::snprintf(number, sizeof number, "%lld", value.get());
    return HStack(
        VerticalAlignment::center, spacing,
        {Text(number)
             .font(Font::system(numberSize, Font::Weight::medium, Font::Design::monospaced))
             .foregroundColor(Palette::title())
             .frame(FlexibleFrame{.minWidth = numberWidth, .alignment = Alignment::trailing()}),
         Stepper(value, lower, upper).labelsHidden()});
}

View ValueSlider::body() const {
    return HStack(
        VerticalAlignment::center, spacing,
        {Slider(value, lower, upper, step).frame(sliderWidth, std::nullopt),
         Text(readout ? readout(value.get()) : std::string())
             .font(Font::system(readoutSize, Font::Weight::medium, Font::Design::monospaced))
             .foregroundColor(Palette::title())
             .frame(readoutWidth, std::nullopt, Alignment::trailing())});
}

Color ColorWell::colour(const std::string& hex) {
    const HexColor parsed = HexColor::parse(hex);
    return Color(parsed.red, parsed.green, parsed.blue);
}

View ColorWell::body() const {
    const Binding<std::string> text = hex;
    const Binding<Color> picked([text] { return colour(text.get()); },
                                [text](const Color& chosen) { text.set(hexString(chosen)); });
    return HStack(
        VerticalAlignment::center, spacing,
        {Text(HexColor::parse(hex.get()).hexString())
             .font(Font::system(textSize, Font::Weight::regular, Font::Design::monospaced))
             .foregroundColor(Palette::dim()),
         ColorPicker("", picked).labelsHidden()});
}

View Action::body() const {
    return Button(title, act);
}

View Readout::body() const {
    const Font font =
        prominent ? Font::system(prominentSize, Font::Weight::medium, Font::Design::monospaced)
                  : Font::system(plainSize);
    const Color colour = tint ? *tint : (prominent ? Palette::title() : Palette::dim());
    return Text(text).font(font).foregroundColor(colour);
}

View EffectBadge::body() const {
    return Text(text)
        .font(Font::system(textSize, Font::Weight::medium))
        .tracking(tracking)
        .foregroundColor(Palette::dim())
        .padding(EdgeInsets{verticalInset, horizontalInset, verticalInset, horizontalInset})
        .background(Capsule().fill(Color::white().opacity(0.05)))
        .overlay(Capsule().stroke(Color::white().opacity(0.07), 1))
        .fixedSize();
}

}  // namespace kelvo
