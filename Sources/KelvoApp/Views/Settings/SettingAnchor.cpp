#include "KelvoApp/Views/Settings/SettingAnchor.h"

#include "KelvoApp/Views/Palette.h"
#include "Platform/SwiftUI/Animation.h"
#include "Platform/SwiftUI/EnvironmentValues.h"
#include "Platform/SwiftUI/Shape.h"

namespace kelvo {

using namespace SwiftUI;

SwiftUI::View SettingAnchor::body(const SwiftUI::View& content) const {
    const std::string anchored = id;
    return content.background(EnvironmentReader([anchored](const EnvironmentValues& environment) {
        const bool flashed = flashedSetting(environment) == anchored;
        return RoundedRectangle(cornerRadius, RoundedCornerStyle::continuous)
            .fill(Palette::accent().opacity(highlightOpacity))
            // Faded in and out through the plate's opacity, which the animation carries.
            .opacity(flashed ? 1 : 0)
            .padding(Edges::horizontal(), horizontalInset)
            .animation(Animation::easeOut(fadeDuration), flashed);
    }));
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
