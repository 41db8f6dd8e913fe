#include "KelvoApp/Views/Guide/GuideHeightKey.h"

#include "Platform/SwiftUI/Color.h"
#include "Platform/SwiftUI/Shape.h"

namespace kelvo {

using namespace SwiftUI;

View measuredIntoGuideHeight(const View& view) {
    return view.background(GeometryReader([](const GeometryProxy& proxy) {
        return View(Rectangle().fill(Color::clear())).preference<GuideHeightKey>(proxy.size.height);
    }));
}

}  // namespace kelvo
