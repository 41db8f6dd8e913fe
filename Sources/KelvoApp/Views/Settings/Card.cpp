#include "KelvoApp/Views/Settings/Card.h"

#include "Base/Text/UnicodeText.h"
#include "KelvoApp/Views/Palette.h"
#include "Platform/SwiftUI/Shape.h"
#include "Platform/SwiftUI/Text.h"

namespace kelvo {

using namespace SwiftUI;

View Card::body() const {
    const Shape plate = RoundedRectangle(cornerRadius, RoundedCornerStyle::continuous);
    const View heading = Text(UnicodeText::uppercased(title))
                             .font(Font::system(titleSize, Font::Weight::semibold))
                             .tracking(titleTracking)
                             .foregroundColor(Palette::dim())
                             .padding(Edges::leading(), titleInset);
    const View rows =
        VStack(HorizontalAlignment::leading, 0, content)
            .frame(FlexibleFrame{.maxWidth = infinity, .alignment = Alignment::leading()})
            .background(plate.fill(Palette::card()))
            .overlay(plate.stroke(Palette::stroke(), 1));
    return VStack(HorizontalAlignment::leading, spacing, {heading, rows});
}

View Hairline::body() const {
    return Rectangle().fill(Palette::hairline()).frame(std::nullopt, height);
}

}  // namespace kelvo
