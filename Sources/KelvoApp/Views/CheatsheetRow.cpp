#include "KelvoApp/Views/CheatsheetRow.h"

#include "KelvoApp/Views/Palette.h"
#include "Platform/SwiftUI/Shape.h"
#include "Platform/SwiftUI/Text.h"

namespace kelvo {

using namespace SwiftUI;

View CheatsheetRow::keyCap(const std::string& label) {
    const Shape plate = RoundedRectangle(capCornerRadius, RoundedCornerStyle::continuous);
    return View(Text(label)
                    .font(Font::system(capTextSize, Font::Weight::medium, Font::Design::rounded))
                    .foregroundColor(Palette::title()))
        .frame(FlexibleFrame{.minWidth = capMinimumWidth})
        .padding(Edges::horizontal(), capPaddingAcross)
        .padding(Edges::vertical(), capPaddingDown)
        .background(ZStack({plate.fill(Color::white().opacity(capFillOpacity)),
                            plate.strokeBorder(Palette::stroke(), 1)}));
}

View CheatsheetRow::body() const {
    std::vector<View> content{
        View(Text(entry.what).font(Font::system(textSize)).foregroundColor(Palette::label()))
            .fixedSize(false, true)
            .frame(FlexibleFrame{.maxWidth = infinity, .alignment = Alignment::leading()})};
    if (!entry.caps.empty()) {
        std::vector<View> caps;
        for (const std::string& label : entry.caps.front())
            caps.push_back(keyCap(label));
        content.push_back(HStack(VerticalAlignment::center, capSpacing, std::move(caps)));
    }
    return HStack(VerticalAlignment::firstTextBaseline, spacing, std::move(content));
}

}  // namespace kelvo
