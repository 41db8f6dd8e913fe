#include "KelvoApp/Views/CheatsheetView.h"

#include "Base/Text/UnicodeText.h"
#include "KelvoApp/Views/CheatsheetRow.h"
#include "KelvoApp/Views/ChromeMark.h"
#include "KelvoApp/Views/Palette.h"
#include "Platform/SwiftUI/Image.h"
#include "Platform/SwiftUI/ScrollView.h"
#include "Platform/SwiftUI/Shape.h"
#include "Platform/SwiftUI/Text.h"

namespace kelvo {

using namespace SwiftUI;

CheatsheetView::CheatsheetView(const CheatsheetModel& model)
    : model(model),
      columns(columnCount, GridItem::flexible(columnMinimumWidth, infinity, columnSpacing)) {}

std::optional<std::string> CheatsheetView::ownKeys(
    const std::vector<KeyReference::Section>& sections) {
    for (const KeyReference::Section& section : sections) {
        for (const KeyReference::Entry& entry : section.entries) {
            if (entry.shortcut != Shortcut::cheatsheet) continue;
            if (entry.caps.empty()) return std::nullopt;
            std::string keys;
            for (const std::string& cap : entry.caps.front())
                keys += cap;
            return keys;
        }
    }
    return std::nullopt;
}

View CheatsheetView::body() const {
    return VStack(HorizontalAlignment::leading, 0,
                  {header(), Divider().overlay(Palette::stroke().view()), grid(),
                   Divider().overlay(Palette::stroke().view()), footer()})
        .background(Palette::background().opacity(backgroundOpacity).view().ignoresSafeArea());
}

View CheatsheetView::header() const {
    std::vector<View> content;
    if (const NSImageRef& mark = ChromeMark::image())
        content.push_back(View(Image(mark).resizable()).frame(markSide, markSide));
    content.push_back(Text("Shortcuts")
                          .font(Font::system(titleSize, Font::Weight::semibold))
                          .foregroundColor(Palette::title()));
    content.push_back(Spacer());
    content.push_back(Text("Every one of these is rebindable in Settings ▸ Shortcuts")
                          .font(Font::system(noteSize))
                          .foregroundColor(Palette::dim()));
    return HStack(VerticalAlignment::center, headerSpacing, std::move(content))
        .padding(Edges::horizontal(), edgePadding)
        .padding(Edges::vertical(), headerPadding);
}

View CheatsheetView::section(const KeyReference::Section& section) {
    std::vector<View> content{Text(UnicodeText::uppercased(section.title))
                                  .font(Font::system(sectionTitleSize, Font::Weight::semibold))
                                  .tracking(sectionTitleTracking)
                                  .foregroundColor(Palette::accent())};
    for (const KeyReference::Entry& entry : section.entries)
        content.push_back(View(CheatsheetRow{entry}).id(entry.id));
    return VStack(HorizontalAlignment::leading, sectionSpacing, std::move(content))
        .id(section.title);
}

View CheatsheetView::grid() const {
    std::vector<View> cells;
    for (const KeyReference::Section& each : model.sections.get())
        cells.push_back(section(each));
    return ScrollView(LazyVGrid(columns, HorizontalAlignment::leading, rowSpacing, std::move(cells))
                          .padding(Edges::horizontal(), edgePadding)
                          .padding(Edges::vertical(), gridPadding),
                      true);
}

View CheatsheetView::footer() const {
    std::vector<View> content{Spacer()};
    if (const auto keys = ownKeys(model.sections.get())) {
        const Shape plate = RoundedRectangle(badgeCornerRadius, RoundedCornerStyle::continuous);
        content.push_back(
            View(Text(*keys)
                     .font(Font::system(badgeTextSize, Font::Weight::medium, Font::Design::rounded))
                     .foregroundColor(Palette::label()))
                .padding(Edges::horizontal(), badgePaddingAcross)
                .padding(Edges::vertical(), badgePaddingDown)
                .background(plate.fill(Color::white().opacity(badgeFillOpacity))));
        content.push_back(
            Text("again to close").font(Font::system(noteSize)).foregroundColor(Palette::dim()));
    }
    return HStack(VerticalAlignment::center, footerSpacing, std::move(content))
        .padding(Edges::horizontal(), edgePadding)
        .padding(Edges::vertical(), footerPadding);
}

}  // namespace kelvo
