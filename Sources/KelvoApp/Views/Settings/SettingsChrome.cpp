#include "KelvoApp/Views/Settings/SettingsChrome.h"

#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoApp/Views/ChromeMark.h"
#include "KelvoApp/Views/Palette.h"
#include "KelvoApp/Views/Settings/PaletteField.h"
#include "KelvoApp/Views/Settings/PaletteRow.h"
#include "Platform/SwiftUI/Controls.h"
#include "Platform/SwiftUI/Image.h"
#include "Platform/SwiftUI/Shape.h"
#include "Platform/SwiftUI/Text.h"

namespace kelvo {

using namespace SwiftUI;

View TitleStrip::markOrWord() const {
    if (const NSImageRef& mark = ChromeMark::image()) {
        return Image(mark)
            .resizable()
            .interpolation(Image::Interpolation::high)
            .frame(markSize, markSize)
            .accessibilityLabel("Kelvo");
    }
    return Text("Kelvo")
        .font(Font::system(12, Font::Weight::medium))
        .foregroundColor(Palette::dim());
}

View TitleStrip::body() const {
    return markOrWord()
        .frame(FlexibleFrame{.maxWidth = infinity})
        .frame(std::nullopt, height)
        .background(Palette::chrome());
}

View TabButton::body() const {
    const Color colour = selected ? Palette::accent() : Palette::dim();
    const View label =
        HStack(VerticalAlignment::center, 9,
               {Image::systemName(symbol(tab))
                    .font(Font::system(12, Font::Weight::medium))
                    .frame(16, std::nullopt),
                Text(title(tab)).font(Font::system(13, Font::Weight::medium)), Spacer()})
            .foregroundColor(colour)
            .padding(EdgeInsets{7, 10, 7, 10})
            .frame(FlexibleFrame{.maxWidth = infinity, .alignment = Alignment::leading()})
            .background(RoundedRectangle(7, RoundedCornerStyle::continuous)
                            .fill(selected ? Palette::accent().opacity(0.14) : Color::clear()))
            .contentShape(Rectangle());
    return Button(label, choose)
        .buttonStyle(ButtonStyle::plain)
        .keyboardShortcut(KeyboardShortcut::commandKey(std::to_string(index + 1)))
        .id("tab." + rawValue(tab));
}

std::vector<SettingEntry> SearchBar::rows() const {
    std::vector<SettingEntry> matches = model.search.get().matches();
    if (matches.size() > maximumRows) matches.resize(maximumRows);
    return matches;
}

View SearchBar::keyHint() const {
    const Shape plate = RoundedRectangle(4, RoundedCornerStyle::continuous);
    return Text("⌘K")
        .font(Font::system(10, Font::Weight::medium, Font::Design::rounded))
        .foregroundColor(Palette::label())
        .padding(EdgeInsets{2, 5, 2, 5})
        .background(plate.fill(Color::white().opacity(0.07)))
        .overlay(plate.stroke(Palette::stroke(), 1));
}

View SearchBar::field() const {
    const bool typed = !model.search.get().query().empty();
    std::vector<View> parts{
        Image::systemName("magnifyingglass")
            .font(Font::system(12, Font::Weight::medium))
            .foregroundColor(Palette::dim()),
        PaletteField(model.searchOpen.get(), model)
            .body()
            .frame(FlexibleFrame{.maxWidth = infinity, .minHeight = 20, .maxHeight = 20}),
    };
    if (!typed) parts.push_back(keyHint());
    const Shape plate = RoundedRectangle(9, RoundedCornerStyle::continuous);
    return HStack(VerticalAlignment::center, 8, std::move(parts))
        .padding(Edges::horizontal(), 9)
        .frame(std::nullopt, height)
        .background(plate.fill(Color::white().opacity(0.04)))
        .overlay(plate.stroke(typed ? Palette::accent().opacity(0.55) : Palette::stroke(), 1))
        .id("search.field");
}

View SearchBar::dropdown() const {
    const std::vector<SettingEntry> found = rows();
    std::vector<View> lines;
    if (found.empty()) {
        lines.push_back(Text("No setting matches “" + model.search.get().query() + "”.")
                            .font(Font::system(12))
                            .foregroundColor(Palette::dim())
                            .padding(EdgeInsets{13, 16, 13, 16}));
    }
    const int selection = model.search.get().selection();
    SettingsModel* owner = &model;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const SettingEntry entry = found[i];
        lines.push_back(PaletteRow(entry, static_cast<int>(i) == selection)
                            .body()
                            .contentShape(Rectangle())
                            .onTapGesture([owner, entry] { owner->commitSearch(entry); })
                            .id("found." + entry.id));
    }
    const Shape plate = RoundedRectangle(12, RoundedCornerStyle::continuous);
    return VStack(HorizontalAlignment::leading, 0, std::move(lines))
        .frame(FlexibleFrame{.maxWidth = infinity, .alignment = Alignment::leading()})
        .padding(Edges::vertical(), found.empty() ? 0 : 6)
        .background(plate.fill(Palette::card()))
        .overlay(plate.stroke(Color::white().opacity(0.1), 1))
        .shadow(Color::black().opacity(0.45), 20, 0, 8)
        .id("search.dropdown");
}

View SearchBar::body() const {
    View bar = VStack(HorizontalAlignment::center, 0, {field()});
    if (!model.search.get().query().empty()) {
        bar = bar.overlay(dropdown()
                              .frame(dropdownWidth, std::nullopt, Alignment::leading())
                              .offset(0, dropdownOffset),
                          Alignment::topLeading());
    }
    return bar.zIndex(1);
}

View Sidebar::body() const {
    // Raised above the tab buttons below it, so that its drop-down covers them.
    std::vector<View> items{SearchBar{model}.body().padding(Edges::bottom(), 10).zIndex(1)};
    const SettingsTab current = section.get();
    const Binding<SettingsTab> chosen = section;
    int index = 0;
    for (SettingsTab tab : settings_tab::allCases) {
        items.push_back(TabButton{tab, index, tab == current, [chosen, tab] { chosen.set(tab); }});
        ++index;
    }
    items.push_back(Spacer());
    return VStack(HorizontalAlignment::leading, spacing, std::move(items))
        .padding(EdgeInsets{14, 10, 0, 10})
        .frame(FlexibleFrame{.minWidth = width,
                             .maxWidth = width,
                             .maxHeight = infinity,
                             .alignment = Alignment::leading()})
        .background(Palette::chrome());
}

}  // namespace kelvo
