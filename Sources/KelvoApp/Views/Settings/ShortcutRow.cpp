#include "KelvoApp/Views/Settings/ShortcutRow.h"

#include "Base/Text/UnicodeText.h"
#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoApp/Views/CommandGlyph.h"
#include "KelvoApp/Views/Palette.h"
#include "KelvoApp/Views/Settings/Card.h"
#include "KelvoApp/Views/Settings/KeyCaps.h"
#include "KelvoApp/Views/Settings/SettingAnchor.h"
#include "KelvoCore/Settings/SettingsCatalog.h"
#include "Platform/SwiftUI/Controls.h"
#include "Platform/SwiftUI/Image.h"
#include "Platform/SwiftUI/Shape.h"
#include "Platform/SwiftUI/Text.h"

namespace kelvo {

using namespace SwiftUI;

std::string ShortcutItem::id() const {
    switch (kind) {
        case Kind::separator:
            return "sep." + title;
        case Kind::heading:
            return "head." + title;
        case Kind::row:
            return std::string(SettingsCatalog::shortcutPrefix) + (entry ? entry->id : "");
        case Kind::tail:
            return "tail." + title;
    }
    return title;
}

View ShortcutItemView::body() const {
    switch (item.kind) {
        case ShortcutItem::Kind::separator:
            return Hairline();
        case ShortcutItem::Kind::heading:
            return Text(UnicodeText::uppercased(item.title))
                .font(Font::system(headingSize, Font::Weight::semibold))
                .tracking(headingTracking)
                .foregroundColor(Palette::dim())
                .frame(FlexibleFrame{.maxWidth = infinity, .alignment = Alignment::leading()})
                .padding(EdgeInsets{15, 16, 7, 16});
        case ShortcutItem::Kind::row:
            if (!item.entry) return EmptyView();
            return settingAnchor(ShortcutRow{*item.entry, model}, item.id())
                .accessibilityLabel(item.entry->what);
        case ShortcutItem::Kind::tail:
            return Color::clear().view().frame(std::nullopt, tailHeight);
    }
    return EmptyView();
}

View ShortcutField::body() const {
    std::vector<View> content;
    if (recording) {
        content.push_back(
            Text("Press keys…").font(Font::system(textSize)).foregroundColor(Palette::accent()));
    } else if (caps.empty()) {
        content.push_back(
            Text("Not set").font(Font::system(textSize)).foregroundColor(Palette::dim()));
    } else {
        content.push_back(ChordChips{caps});
    }
    content.push_back(Spacer());
    const Shape plate = RoundedRectangle(cornerRadius, RoundedCornerStyle::continuous);
    const View label =
        HStack(VerticalAlignment::center, spacing, std::move(content))
            .padding(EdgeInsets{4, 7, 4, 7})
            .frame(FlexibleFrame{.maxWidth = infinity, .alignment = Alignment::leading()})
            .background(plate.fill(recording ? Palette::accent().opacity(0.14)
                                             : Color::white().opacity(0.035)))
            .overlay(
                plate.stroke(recording ? Palette::accent().opacity(0.7) : Palette::stroke(), 1))
            .contentShape(Rectangle());
    return Button(label, action).buttonStyle(ButtonStyle::plain);
}

bool ShortcutRow::isRecording() const {
    return entry.shortcut && model.recording.get() == entry.shortcut;
}

View ShortcutRow::body() const {
    return HStack(VerticalAlignment::top, spacing,
                  {glyph(), keys(),
                   Text(entry.what)
                       .font(Font::system(12))
                       .foregroundColor(Palette::label())
                       .fixedSize(false, true)
                       .padding(Edges::top(), 1.5),
                   Spacer()})
        .padding(EdgeInsets{verticalInset, horizontalInset, verticalInset, horizontalInset});
}

View ShortcutRow::glyph() const {
    const View picture =
        entry.glyph ? View(CommandGlyph(*entry.glyph))
                    : Color::clear().view().frame(CommandGlyph::width, CommandGlyph::height);
    return picture.padding(Edges::top(), 1);
}

View ShortcutRow::keys() const {
    if (!entry.shortcut) {
        return HStack(
            VerticalAlignment::top, spacing,
            {ChordChips{entry.caps}.body().frame(keysWidth, std::nullopt, Alignment::leading()),
             Color::clear().view().frame(buttonsWidth, 1)});
    }
    SettingsModel* owner = &model;
    const Shortcut shortcut = *entry.shortcut;
    const View field = ShortcutField{entry.caps, isRecording(),
                                     [owner, shortcut] { owner->beginRecording(shortcut); }}
                           .body()
                           .frame(keysWidth, std::nullopt, Alignment::leading());
    return HStack(VerticalAlignment::top, spacing, {field, buttons(shortcut)});
}

View ShortcutRow::buttons(Shortcut shortcut) const {
    SettingsModel* owner = &model;
    auto iconButton = [](const std::string& symbol, std::function<void()> action, bool enabled,
                         const std::string& tooltip) {
        return Button(Image::systemName(symbol)
                          .font(Font::system(buttonSize))
                          .foregroundColor(Palette::dim()),
                      std::move(action))
            .buttonStyle(ButtonStyle::plain)
            .help(tooltip)
            .disabled(!enabled)
            .opacity(enabled ? 1 : fadedOpacity);
    };
    const bool bound = !entry.caps.empty();
    const bool overridden = model.config().shortcuts.override(shortcut).has_value();
    return HStack(VerticalAlignment::center, 4,
                  {iconButton(
                       "xmark.circle.fill", [owner, shortcut] { owner->clearShortcut(shortcut); },
                       bound, "Unbind " + title(shortcut)),
                   iconButton(
                       "arrow.counterclockwise.circle.fill",
                       [owner, shortcut] { owner->resetShortcut(shortcut); }, overridden,
                       "Put " + title(shortcut) + " back to Kelvo's own keys")})
        .frame(buttonsWidth, std::nullopt, Alignment::leading())
        .padding(Edges::top(), 3);
}

}  // namespace kelvo
