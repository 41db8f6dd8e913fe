#include "KelvoApp/Views/Settings/SettingAnchor.h"

namespace kelvo {

SwiftUI::View SettingAnchor::body(const SwiftUI::View& content) const {
    return content;
}

SwiftUI::View settingAnchor(const SwiftUI::View& content, const std::string& id) {
    return SettingAnchor{id}.body(content).id(id);
}

std::optional<std::string> flashedSetting(const SwiftUI::EnvironmentValues& environment) {
    return environment.get<FlashedSetting>();
}

SwiftUI::View flashedSetting(const SwiftUI::View& content, const std::optional<std::string>& id) {
    return content.environment<FlashedSetting>(id);
}

}  // namespace kelvo
