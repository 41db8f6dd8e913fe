#include "KelvoApp/Views/Guide/GuideKeyRow.h"

#include "KelvoApp/Views/CommandGlyph.h"
#include "KelvoApp/Views/Palette.h"
#include "KelvoApp/Views/Settings/Card.h"
#include "KelvoApp/Views/Settings/KeyCaps.h"
#include "Platform/SwiftUI/Shape.h"
#include "Platform/SwiftUI/Text.h"

namespace kelvo {

using namespace SwiftUI;

View GuideKeyRow::body() const {
    const View glyph = entry.glyph ? View(CommandGlyph(*entry.glyph))
                                   : View(Rectangle().fill(Color::clear()))
                                         .frame(CommandGlyph::width, CommandGlyph::height);
    const View keys =
        entry.caps.empty()
            ? View(Text("Not set").font(Font::system(11.5)).foregroundColor(Palette::dim()))
            : View(ChordChips{entry.caps});
    const View what =
        View(Text(entry.what).font(Font::system(12)).foregroundColor(Palette::label()))
            .fixedSize(false, true);
    return HStack(VerticalAlignment::top, 13,
                  {glyph.padding(Edges::top(), 1),
                   keys.frame(keysWidth, std::nullopt, Alignment::leading()), what, Spacer()})
        .padding(EdgeInsets{7, 16, 7, 16})
        .id("guide.key." + entry.id);
}

View GuideKeyRow::card(const std::string& title, const std::vector<KeyReference::Entry>& entries) {
    std::vector<View> rows;
    for (const KeyReference::Entry& entry : entries) {
        if (!rows.empty()) rows.push_back(Hairline());
        rows.push_back(GuideKeyRow{entry});
    }
    return Card(title, std::move(rows));
}

}  // namespace kelvo
