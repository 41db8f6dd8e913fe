#include "KelvoApp/Views/Settings/ShortcutsPage.h"

#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoApp/Views/Banners.h"
#include "KelvoApp/Views/Palette.h"
#include "KelvoApp/Views/Settings/Card.h"
#include "KelvoApp/Views/Settings/SettingRow.h"
#include "KelvoApp/Views/Settings/ValueControls.h"
#include "KelvoCore/Bindings/KeyReference.h"
#include "KelvoCore/Bindings/ShortcutResolution.h"
#include "KelvoCore/Settings/SettingsCatalog.h"
#include "Platform/SwiftUI/Text.h"

namespace kelvo {

using namespace SwiftUI;
using ID = SettingsCatalog::SettingID;

namespace {

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

std::vector<ShortcutItem> ShortcutsPage::shortcutItems(const Config& config) {
    std::vector<ShortcutItem> items;
    bool first = true;
    for (const KeyReference::Section& section : KeyReference::sections(config)) {
        if (!first) items.push_back(ShortcutItem::separator(section.title));
        first = false;
        items.push_back(ShortcutItem::heading(section.title));
        for (const KeyReference::Entry& entry : section.entries)
            items.push_back(ShortcutItem::row(entry));
        items.push_back(ShortcutItem::tail(section.title));
    }
    return items;
}

std::string ShortcutsPage::displacedShortcuts(const Config& config) {
    const ShortcutResolution resolution = ShortcutResolution::resolve(config);
    const std::vector<Shortcut>& displaced = resolution.displaced();
    std::string text;
    for (std::size_t i = 0; i < displaced.size(); ++i) {
        if (i > 0) text += i + 1 == displaced.size() ? " and " : ", ";
        text += quoted(title(displaced[i]));
    }
    return text;
}

std::optional<std::string> ShortcutsPage::accentCaution(const Config& config) {
    const std::optional<ShortcutOwner> owner =
        ShortcutResolution::resolve(config).owner(Chord{.keyCode = accentKeyCode, .option = true});
    if (!owner) return std::nullopt;
    return std::string(
               "⌥E is the acute accent on UK, US-International and most European "
               "layouts, so while Kelvo holds it you cannot type é. ") +
           "Give it back with the × beside " + quoted(owner->title()) + " if you need " +
           "the accent.";
}

View ShortcutsPage::body() const {
    return VStack(HorizontalAlignment::leading, 22, {modifierCard(), shortcutsCard()});
}

View ShortcutsPage::modifierCard() const {
    SettingsModel* owner = &model;
    const Binding<Modifier> primary(
        [owner] { return owner->config().primaryModifier; },
        [owner](const Modifier& chosen) {
            owner->updateConfig([chosen](Config& config) { config.primaryModifier = chosen; });
        });
    return Card(
        "Modifier",
        {SettingRow{
            .entry = SettingsCatalog::entry(ID::primaryModifier),
            .control = Segmented<Modifier>{
                primary, {Modifier::option, Modifier::control}, [](const Modifier& modifier) {
                    return std::string(modifier == Modifier::option ? "⌥ Option" : "⌃ Control");
                }}}});
}

View ShortcutsPage::shortcutsCard() const {
    std::vector<View> rows{header()};
    for (const ShortcutItem& item : shortcutItems(model.config()))
        rows.push_back(ShortcutItemView{item, model});
    rows.push_back(resetRow());
    return Card("Shortcuts", std::move(rows));
}

View ShortcutsPage::header() const {
    const Config& config = model.config();
    std::vector<View> parts{Text(intro)
                                .font(Font::system(introSize))
                                .foregroundColor(Palette::dim())
                                .fixedSize(false, true)};
    if (const std::optional<std::string>& notice = model.recordNotice.get())
        parts.push_back(kelvo::notice(*notice));
    if (const std::string displaced = displacedShortcuts(config); !displaced.empty()) {
        parts.push_back(caution(std::string("Nothing is bound to ") + displaced +
                                ". Something else " +
                                "holds the keys they would use. Record new keys, or reset " +
                                "every shortcut at the foot of this list."));
    }
    if (const std::optional<std::string> accent = accentCaution(config))
        parts.push_back(caution(*accent));
    return VStack(HorizontalAlignment::leading, 10, std::move(parts))
        .padding(EdgeInsets{14, 16, 2, 16});
}

View ShortcutsPage::resetRow() const {
    SettingsModel* owner = &model;
    return SettingRow{
        .entry = SettingsCatalog::entry(ID::resetShortcuts),
        .control = Action{"Reset", [owner] { owner->resetAllShortcuts(); }}.body().disabled(
            model.config().shortcuts.isEmpty())};
}

}  // namespace kelvo
