#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "KelvoCore/Bindings/KeyReference.h"
#include "KelvoCore/Config/Config.h"
#include "KelvoCore/Settings/SettingEntry.h"
#include "KelvoCore/Tweaks/SystemTweak.h"

namespace kelvo {

/// Every row of the settings window, as data: the fixed rows by their ids, one generated row
/// per system tweak and one per entry of the key reference. The pages, the search and the
/// guide all read their texts from here.
class SettingsCatalog {
  public:
    /// The fixed rows, in catalogue order: one case for each entry of SettingIDs.def.
    enum class SettingID {
#define SETTING_ID(name) name,
#include "KelvoCore/Settings/SettingIDs.def"
    };
    /// Every id, in catalogue order.
    static constexpr auto settingIDs = std::to_array<SettingID>({
#define SETTING_ID(name) SettingID::name,
#include "KelvoCore/Settings/SettingIDs.def"
    });
    static constexpr std::size_t settingIDCount = settingIDs.size();
    static const std::array<SettingID, settingIDCount>& allSettingIDs();
    /// The case name, which is also the row's id.
    static std::string rawValue(SettingID id);
    static std::optional<SettingID> settingIDFromRawValue(const std::string& raw);

    static constexpr const char* tweakPrefix = "tweak.";
    static constexpr const char* shortcutPrefix = "key.";

    /// The fixed row of the id.
    static const SettingEntry& entry(SettingID id);
    /// The row of a system tweak, on the System tab.
    static SettingEntry entry(const SystemTweak& tweak);
    /// The row of a key reference entry, on the Shortcuts tab in a card named after its
    /// section.
    static SettingEntry entry(const KeyReference::Entry& entry,
                              const KeyReference::Section& section);

    /// Every row for this configuration: fixed rows, tweak rows, then shortcut rows, ordered
    /// stably by tab. Only the shortcut rows depend on the configuration.
    static std::vector<SettingEntry> entries(const Config& config);

  private:
    static const std::vector<SettingEntry>& fixedRows();
    static std::vector<SettingEntry> makeFixedRows();
    static std::string shortcutTitle(const KeyReference::Entry& entry);
    static std::vector<std::string> shortcutKeywords(const KeyReference::Entry& entry);
};

}  // namespace kelvo
