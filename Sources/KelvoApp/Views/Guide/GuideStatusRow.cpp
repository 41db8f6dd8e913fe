#include "KelvoApp/Views/Guide/GuideStatusRow.h"

#include "KelvoApp/Views/Palette.h"
#include "Platform/SwiftUI/Text.h"

namespace kelvo {

using namespace SwiftUI;

View GuideStatusRow::body() const {
    const View titleText = Text(title)
                               .font(Font::system(13))
                               .foregroundColor(good ? Palette::good() : Palette::title());
    const View detailText =
        View(Text(detail).font(Font::system(11.5)).foregroundColor(Palette::dim()))
            .fixedSize(false, true)
            .frame(FlexibleFrame{.maxWidth = detailWidth, .alignment = Alignment::leading()});
    return HStack(VerticalAlignment::center, 18,
                  {VStack(HorizontalAlignment::leading, 2, {titleText, detailText}), Spacer(12),
                   control.fixedSize()})
        .padding(EdgeInsets{11, 16, 11, 16});
}

}  // namespace kelvo
