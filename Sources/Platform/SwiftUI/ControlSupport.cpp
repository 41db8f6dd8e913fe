#include "Platform/SwiftUI/ControlSupport.h"

#include "Platform/SwiftUI/ModifierNode.h"
#include "Platform/SwiftUI/Shape.h"

namespace SwiftUI {

View control(const View& look, AccessibilityElement element, ControlClick click,
             std::function<void(LayoutNode&)> finish) {
    const View dimmed = EnvironmentReader([look](const EnvironmentValues& environment) {
        return environment.isEnabled ? look : look.opacity(ControlColors::disabledOpacity);
    });
    return View(std::make_shared<DecoratingNode>(
        dimmed, [element, click, finish](LayoutNode& node, const EnvironmentValues& environment) {
            node.element = element;
            node.contentShape = node.frame;
            const CGRect frame = node.frame;
            node.onClick = [click, frame, environment](CGPoint point) {
                if (click) click(point, frame, environment);
            };
            if (finish) finish(node);
        }));
}

View chevron(bool up, const Color& color) {
    return Path([up](const CGRect& rect) {
               CGPath path;
               const CGFloat top = up ? rect.maxY() : rect.minY();
               const CGFloat bottom = up ? rect.minY() : rect.maxY();
               path.move({rect.minX(), top});
               path.addLine({rect.midX(), bottom});
               path.addLine({rect.maxX(), top});
               return path;
           })
        .stroke(color, 1.3);
}

}  // namespace SwiftUI
