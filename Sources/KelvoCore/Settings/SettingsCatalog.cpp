#include "KelvoCore/Settings/SettingsCatalog.h"

#include <algorithm>
#include <cctype>

#include "Base/JSON/JSONCoding.h"
#include "KelvoCore/Tweaks/SystemTweakCatalog.h"

namespace kelvo {

namespace {

constexpr auto settingIDNames = std::to_array<const char*>({
#define SETTING_ID(name) #name,
#include "KelvoCore/Settings/SettingIDs.def"
});

/// Words every generated row of its kind is found by, before its own.
constexpr std::array<const char*, 3> tweakKeywords = {"macos", "defaults", "system"};
constexpr std::array<const char*, 4> shortcutKeywordsCommon = {"shortcut", "keybinding", "hotkey",
                                                               "keymap"};
constexpr const char* tweakCard = "System";

std::string asciiLowercased(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::size_t tabPosition(SettingsTab tab) {
    return static_cast<std::size_t>(tab);
}

}  // namespace

const std::array<SettingsCatalog::SettingID, SettingsCatalog::settingIDCount>&
SettingsCatalog::allSettingIDs() {
    return settingIDs;
}

std::string SettingsCatalog::rawValue(SettingID id) {
    return settingIDNames[static_cast<std::size_t>(id)];
}

std::optional<SettingsCatalog::SettingID> SettingsCatalog::settingIDFromRawValue(
    const std::string& raw) {
    return caseWithRawValue<SettingID>(allSettingIDs(), raw,
                                       [](SettingID id) { return rawValue(id); });
}

const std::vector<SettingEntry>& SettingsCatalog::fixedRows() {
    static const std::vector<SettingEntry> rows = makeFixedRows();
    return rows;
}

const SettingEntry& SettingsCatalog::entry(SettingID id) {
    return fixedRows()[static_cast<std::size_t>(id)];
}

SettingEntry SettingsCatalog::entry(const SystemTweak& tweak) {
    std::vector<std::string> keywords(tweakKeywords.begin(), tweakKeywords.end());
    keywords.push_back(tweak.domain);
    keywords.push_back(tweak.key);
    return SettingEntry{.id = tweakPrefix + tweak.id,
                        .tab = SettingsTab::system,
                        .card = tweakCard,
                        .title = tweak.title,
                        .detail = tweak.detail,
                        .more = std::nullopt,
                        .caution = tweak.caution,
                        .keywords = std::move(keywords)};
}

SettingEntry SettingsCatalog::entry(const KeyReference::Entry& entry,
                                    const KeyReference::Section& section) {
    return SettingEntry{.id = shortcutPrefix + entry.id,
                        .tab = SettingsTab::shortcuts,
                        .card = section.title,
                        .title = shortcutTitle(entry),
                        .detail = entry.what,
                        .more = std::nullopt,
                        .caution = std::nullopt,
                        .keywords = shortcutKeywords(entry)};
}

std::string SettingsCatalog::shortcutTitle(const KeyReference::Entry& entry) {
    if (entry.shortcut) return title(*entry.shortcut);
    return entry.what.substr(0, entry.what.find('.'));
}

std::vector<std::string> SettingsCatalog::shortcutKeywords(const KeyReference::Entry& entry) {
    std::vector<std::string> keywords(shortcutKeywordsCommon.begin(), shortcutKeywordsCommon.end());
    if (entry.shortcut) keywords.push_back(asciiLowercased(kelvo::rawValue(*entry.shortcut)));
    for (const auto& chordCaps : entry.caps) {
        std::string joined;
        for (const std::string& cap : chordCaps)
            joined += cap;
        keywords.push_back(std::move(joined));
    }
    return keywords;
}

std::vector<SettingEntry> SettingsCatalog::entries(const Config& config) {
    std::vector<SettingEntry> rows = fixedRows();
    for (const SystemTweak& tweak : SystemTweakCatalog::all())
        rows.push_back(entry(tweak));
    for (const KeyReference::Section& section : KeyReference::sections(config)) {
        for (const KeyReference::Entry& e : section.entries)
            rows.push_back(entry(e, section));
    }
    std::stable_sort(rows.begin(), rows.end(), [](const SettingEntry& a, const SettingEntry& b) {
        return tabPosition(a.tab) < tabPosition(b.tab);
    });
    return rows;
}

}  // namespace kelvo
