#include "KelvoApp/Views/Settings/RuleList.h"

#include <algorithm>

#include "Base/Text/UnicodeText.h"
#include "KelvoApp/Applications/AppCatalog.h"
#include "KelvoApp/Views/Palette.h"
#include "KelvoApp/Views/Settings/SettingRow.h"
#include "Platform/SwiftUI/Controls.h"
#include "Platform/SwiftUI/Image.h"
#include "Platform/SwiftUI/Shape.h"
#include "Platform/SwiftUI/Text.h"

namespace kelvo {

using namespace SwiftUI;

std::vector<AppEntry> RuleList::addable() const {
    std::vector<AppEntry> offered;
    for (const AppEntry& app : running)
        if (!bundleIDs.contains(app.bundleID)) offered.push_back(app);
    return offered;
}

std::vector<AppEntry> RuleList::sorted() const {
    std::vector<AppEntry> listed;
    for (const std::string& bundleID : bundleIDs)
        listed.push_back({bundleID, AppCatalog::name(bundleID).value_or(bundleID)});
    std::stable_sort(listed.begin(), listed.end(), [](const AppEntry& a, const AppEntry& b) {
        return UnicodeText::localizedCaseInsensitiveCompare(a.name, b.name) < 0;
    });
    return listed;
}

View RuleList::body() const {
    const View column =
        VStack(HorizontalAlignment::leading, spacing, {header(), list()})
            .padding(EdgeInsets{verticalInset, horizontalInset, verticalInset, horizontalInset})
            .help(entry.more.value_or(""));
    return settingTarget(column, entry.id, entry.title);
}

View RuleList::header() const {
    const View texts = VStack(HorizontalAlignment::leading, SettingRow::columnSpacing,
                              {Text(entry.title)
                                   .font(Font::system(SettingRow::titleSize))
                                   .foregroundColor(Palette::title()),
                               Text(entry.detail)
                                   .font(Font::system(SettingRow::proseSize))
                                   .foregroundColor(Palette::dim())
                                   .fixedSize(false, true)
                                   .frame(FlexibleFrame{.maxWidth = SettingRow::proseWidth,
                                                        .alignment = Alignment::leading()})});
    return HStack(VerticalAlignment::center, SettingRow::spacing,
                  {texts, Spacer(SettingRow::controlGap), addMenu()});
}

View RuleList::addMenu() const {
    std::vector<MenuItem> items;
    const std::vector<AppEntry> offered = addable();
    if (offered.empty()) items.push_back({everyAppListed, nullptr});
    for (const AppEntry& app : offered)
        items.push_back({app.name, [add = add, bundleID = app.bundleID] {
                             if (add) add(bundleID);
                         }});
    return Menu("Add…", std::move(items)).fixedSize().padding(EdgeInsets{0, 0, 0, -menuOutset});
}

View RuleList::list() const {
    if (bundleIDs.empty()) {
        return Text("Nothing yet.")
            .font(Font::system(12))
            .foregroundColor(Palette::dim())
            .padding(Edges::vertical(), 4);
    }
    std::vector<View> rows;
    for (const AppEntry& app : sorted())
        rows.push_back(RuleRow{app, [remove = remove, bundleID = app.bundleID] {
                                   if (remove) remove(bundleID);
                               }});
    return VStack(HorizontalAlignment::center, 0, std::move(rows))
        .background(RoundedRectangle(listCornerRadius, RoundedCornerStyle::continuous)
                        .fill(Palette::tile().opacity(listOpacity)));
}

View RuleRow::body() const {
    const bool installed = entry.name != entry.bundleID;
    Text second = Text(installed ? entry.bundleID : std::string("not installed"));
    const View identity = VStack(
        HorizontalAlignment::leading, 0,
        {Text(entry.name).font(Font::system(12.5)).foregroundColor(Palette::label()),
         second
             .font(Font::system(10.5, Font::Weight::regular,
                                installed ? Font::Design::monospaced : Font::Design::standard))
             .foregroundColor(Palette::dim())});
    const View removeButton = Button(Image::systemName("minus.circle.fill")
                                         .font(Font::system(12.5))
                                         .foregroundColor(Palette::dim()),
                                     remove)
                                  .buttonStyle(ButtonStyle::plain)
                                  .help("Remove " + entry.name);
    return HStack(VerticalAlignment::center, spacing, {icon(), identity, Spacer(8), removeButton})
        .padding(EdgeInsets{verticalInset, horizontalInset, verticalInset, horizontalInset})
        .id("rule." + entry.bundleID);
}

View RuleRow::icon() const {
    if (NSImageRef image = AppCatalog::icon(entry.bundleID))
        return Image(image).resizable().frame(iconSize, iconSize);
    return RoundedRectangle(3.5, RoundedCornerStyle::continuous)
        .fill(Color::white().opacity(0.08))
        .frame(iconSize, iconSize);
}

}  // namespace kelvo
