#include "KelvoApp/Views/Settings/KeyCaps.h"

#include "KelvoApp/Views/Palette.h"
#include "Platform/SwiftUI/Shape.h"
#include "Platform/SwiftUI/Text.h"

namespace kelvo {

using namespace SwiftUI;

View Keycap::body() const {
    const Shape cap = RoundedRectangle(cornerRadius, RoundedCornerStyle::continuous);
    return Text(label)
        .font(Font::system(textSize, Font::Weight::medium, Font::Design::rounded))
        .foregroundColor(Palette::title())
        .frame(FlexibleFrame{.minWidth = minimumWidth})
        .padding(EdgeInsets{2, 6, 2, 6})
        .background(cap.fill(Color::white().opacity(0.1)))
        .overlay(cap.stroke(Color::white().opacity(0.09), 1))
        .fixedSize();
}

View ChordChips::body() const {
    std::vector<View> groups;
    for (std::size_t i = 0; i < caps.size(); ++i) {
        if (i > 0)
            groups.push_back(Text("or").font(Font::system(10)).foregroundColor(Palette::dim()));
        std::vector<View> keys;
        for (const std::string& label : caps[i])
            keys.push_back(Keycap{label});
        groups.push_back(HStack(VerticalAlignment::center, capSpacing, std::move(keys)));
    }
    return HStack(VerticalAlignment::center, spacing, std::move(groups));
}

}  // namespace kelvo
