#include "KelvoApp/Views/Settings/PaletteRow.h"

#include "KelvoApp/Views/Palette.h"
#include "KelvoCore/Settings/SettingsTab.h"
#include "Platform/SwiftUI/Shape.h"
#include "Platform/SwiftUI/Text.h"

namespace kelvo {

using namespace SwiftUI;

SwiftUI::View PaletteRow::body() const {
    View row =
        HStack(
            VerticalAlignment::center, 10,
            {
                VStack(HorizontalAlignment::leading, 1,
                       {HStack(VerticalAlignment::center, 8, {title(), locationChip()}), detail()}),
                Spacer(0),
            })
            .padding(Edges::horizontal(), horizontalPadding)
            .frame(FlexibleFrame{.maxWidth = infinity,
                                 .minHeight = height,
                                 .maxHeight = height,
                                 .alignment = Alignment::leading()});
    if (selected) row = row.background(selectionPlate());
    return row;
}

SwiftUI::View PaletteRow::title() const {
    return Text(entry.title)
        .font(Font::system(13))
        .foregroundColor(Color::white().opacity(selected ? 1.0 : 0.8))
        .lineLimit(1);
}

SwiftUI::View PaletteRow::locationChip() const {
    return Text(kelvo::title(entry.tab) + locationSeparator + entry.card)
        .font(Font::system(10, Font::Weight::medium))
        .foregroundColor(Color::white().opacity(selected ? 0.95 : 0.62))
        .padding(EdgeInsets{2, 6, 2, 6})
        .background(RoundedRectangle(5, RoundedCornerStyle::continuous)
                        .fill(Palette::accent().opacity(selected ? 0.5 : 0.26)))
        .fixedSize();
}

SwiftUI::View PaletteRow::detail() const {
    return Text(entry.detail).font(Font::system(11)).foregroundColor(Palette::dim()).lineLimit(1);
}

SwiftUI::View PaletteRow::selectionPlate() const {
    return RoundedRectangle(9, RoundedCornerStyle::continuous)
        .fill(Palette::accent().opacity(0.2))
        .overlay(RoundedRectangle(9, RoundedCornerStyle::continuous)
                     .stroke(Palette::accent().opacity(0.38), 1))
        .padding(EdgeInsets{2, 8, 2, 8});
}

}  // namespace kelvo
