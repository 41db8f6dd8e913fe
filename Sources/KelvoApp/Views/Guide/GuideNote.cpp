#include "KelvoApp/Views/Guide/GuideNote.h"

#include "KelvoApp/Views/Palette.h"
#include "Platform/SwiftUI/Text.h"

namespace kelvo {

using namespace SwiftUI;

View GuideNote::body() const {
    return View(Text::markdown(text).font(Font::system(12)).foregroundColor(Palette::label()))
        .frame(FlexibleFrame{.maxWidth = infinity, .alignment = Alignment::leading()})
        .padding(EdgeInsets{12, 16, 12, 16});
}

}  // namespace kelvo
