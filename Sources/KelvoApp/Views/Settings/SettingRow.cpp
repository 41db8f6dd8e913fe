#include "KelvoApp/Views/Settings/SettingRow.h"

#include "KelvoApp/Views/Palette.h"
#include "KelvoApp/Views/Settings/SettingAnchor.h"
#include "KelvoApp/Views/Settings/ValueControls.h"
#include "Platform/SwiftUI/Image.h"

namespace kelvo {

using namespace SwiftUI;

View settingTarget(const View& view, const std::string& id, const std::string& label) {
    return settingAnchor(view, id).accessibilityLabel(label);
}

View SettingRow::body() const {
    const View row =
        HStack(VerticalAlignment::center, spacing,
               {column(), Spacer(controlGap), control.fixedSize()})
            .padding(EdgeInsets{verticalInset, horizontalInset, verticalInset, horizontalInset})
            .help(entry.more.value_or(""));
    return settingTarget(row, entry.id, entry.title);
}

View SettingRow::column() const {
    std::vector<View> titleLine{
        Text(entry.title).font(Font::system(titleSize)).foregroundColor(Palette::title())};
    if (badge) titleLine.push_back(EffectBadge{*badge});
    std::vector<View> lines{HStack(VerticalAlignment::center, titleSpacing, std::move(titleLine)),
                            prose()};
    if (std::optional<View> line = cautionLine()) lines.push_back(*line);
    return VStack(HorizontalAlignment::leading, columnSpacing, std::move(lines));
}

View SettingRow::prose() const {
    const Text text = detailText ? *detailText : Text(detail.value_or(entry.detail));
    return text.font(Font::system(proseSize))
        .foregroundColor(Palette::dim())
        .fixedSize(false, true)
        .frame(FlexibleFrame{.maxWidth = proseWidth, .alignment = Alignment::leading()});
}

std::optional<View> SettingRow::cautionLine() const {
    const std::optional<std::string> text = caution ? caution : entry.caution;
    if (!text) return std::nullopt;
    return HStack(VerticalAlignment::firstTextBaseline, cautionSpacing,
                  {Image::systemName("exclamationmark.triangle.fill")
                       .font(Font::system(cautionSymbolSize)),
                   Text(*text).font(Font::system(proseSize)).fixedSize(false, true)})
        .foregroundColor(Palette::caution())
        .padding(Edges::top(), cautionGap);
}

}  // namespace kelvo
