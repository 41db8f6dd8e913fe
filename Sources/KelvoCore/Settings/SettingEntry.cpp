#include "KelvoCore/Settings/SettingEntry.h"

namespace kelvo {

std::vector<LauncherMatcher::Field> SettingEntry::fields() const {
    using Kind = LauncherMatcher::Field::Kind;
    std::vector<LauncherMatcher::Field> fields;
    fields.reserve(keywords.size() + 3);
    fields.push_back({title, Kind::name});
    for (const std::string& keyword : keywords)
        fields.push_back({keyword, Kind::name});
    fields.push_back({detail, Kind::prose});
    if (caution) fields.push_back({*caution, Kind::prose});
    return fields;
}

}  // namespace kelvo
