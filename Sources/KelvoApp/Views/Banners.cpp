#include "KelvoApp/Views/Banners.h"

#include "KelvoApp/Views/Palette.h"
#include "Platform/SwiftUI/Image.h"
#include "Platform/SwiftUI/Shape.h"
#include "Platform/SwiftUI/Text.h"

namespace kelvo {

using namespace SwiftUI;

View bannerBlock(const std::string& text, const std::string& symbol, const Color& colour) {
    const Shape outline = RoundedRectangle(Banners::cornerRadius, RoundedCornerStyle::continuous);
    return banner(text, symbol, colour)
        .padding(Banners::inset)
        .frame(FlexibleFrame{.maxWidth = infinity, .alignment = Alignment::leading()})
        .background(outline.fill(colour.opacity(Banners::fillOpacity)))
        .overlay(outline.stroke(colour.opacity(Banners::strokeOpacity), 1));
}

View banner(const std::string& text, const std::string& symbol, const Color& colour) {
    return HStack(VerticalAlignment::top, Banners::spacing,
                  {Image::systemName(symbol).foregroundColor(colour),
                   Text(text)
                       .font(Font::system(Banners::textSize))
                       .foregroundColor(Palette::label())
                       .fixedSize(false, true)});
}

View notice(const std::string& text) {
    return bannerBlock(text, "exclamationmark.triangle.fill", Palette::warning());
}

View caution(const std::string& text) {
    return bannerBlock(text, "info.circle.fill", Palette::caution());
}

}  // namespace kelvo
