#include "KelvoApp/Views/Guide/GuideView.h"

#include <string>
#include <vector>

#include "KelvoApp/Views/ChromeMark.h"
#include "KelvoApp/Views/Guide/GuideHeightKey.h"
#include "KelvoApp/Views/Guide/GuidePages.h"
#include "KelvoApp/Views/Palette.h"
#include "KelvoApp/Views/Settings/Card.h"
#include "Platform/SwiftUI/Controls.h"
#include "Platform/SwiftUI/Image.h"
#include "Platform/SwiftUI/ScrollView.h"
#include "Platform/SwiftUI/Shape.h"
#include "Platform/SwiftUI/Text.h"

namespace kelvo {

using namespace SwiftUI;

namespace {

View fullWidth(const View& view) {
    return view.frame(FlexibleFrame{.maxWidth = infinity, .alignment = Alignment::leading()});
}

}  // namespace

GuideView::GuideView(GuideModel& model, SettingsModel& settings)
    : GuideView(model, settings, ChromeMark::image()) {}

GuideView::GuideView(GuideModel& model, SettingsModel& settings, NSImageRef mark)
    : model_(model), settings_(settings), mark_(std::move(mark)) {}

View GuideView::body() const {
    return VStack(HorizontalAlignment::center, 0,
                  {header(), Hairline(), ScrollView(page(), true), Hairline(), footer()})
        .ignoresSafeArea()
        .background(Palette::background())
        .tint(Palette::accent())
        .onPreferenceChange<GuideHeightKey>(
            [&model = model_](const CGFloat& height) { reportHeight(model, height); })
        .id("guide");
}

void GuideView::reportHeight(GuideModel& model, CGFloat measured) {
    const CGFloat height = measured + hairlines;
    if (height <= 0 || !model.sizingOwed) return;
    model.sizingOwed = false;
    if (model.onIdealHeight) model.onIdealHeight(height);
}

Color GuideView::fill(GuideStep step, GuideStep current) {
    if (step == current) return Palette::accent();
    if (number(step) < number(current)) return Palette::accent().opacity(0.35);
    return Color::white().opacity(0.07);
}

View GuideView::header() const {
    const GuideStep step = model_.flow().step;
    const View title = Text(kelvo::title(step))
                           .font(Font::system(19, Font::Weight::semibold))
                           .foregroundColor(Palette::title());
    const View blurb =
        View(Text(kelvo::blurb(step)).font(Font::system(12.5)).foregroundColor(Palette::label()))
            .fixedSize(false, true);
    const View content =
        VStack(HorizontalAlignment::leading, 12,
               {markRow(), progressBar(), VStack(HorizontalAlignment::leading, 7, {title, blurb})});
    return measuredIntoGuideHeight(content.padding(Edges::horizontal(), sideInset)
                                       .padding(Edges::bottom(), 18)
                                       .background(Palette::chrome())
                                       .id("guide.header"));
}

View GuideView::markRow() const {
    const View mark = mark_ ? View(Image(mark_).resizable()).frame(markSide, markSide)
                            : View(Text("Kelvo")
                                       .font(Font::system(12, Font::Weight::semibold))
                                       .foregroundColor(Palette::dim()));
    const std::string counter = "Step " + std::to_string(number(model_.flow().step)) + " of " +
                                std::to_string(guide_step::count);
    const View counterText =
        Text(counter).font(Font::system(11, Font::Weight::medium)).foregroundColor(Palette::dim());
    return ZStack({mark.id("guide.mark"), HStack({Spacer(), counterText})})
        .frame(FlexibleFrame{.maxWidth = infinity})
        .frame(std::nullopt, headerRowHeight);
}

View GuideView::progressBar() const {
    std::vector<View> segments;
    for (GuideStep step : guide_step::allCases)
        segments.push_back(Capsule(RoundedCornerStyle::continuous)
                               .fill(fill(step, model_.flow().step))
                               .frame(std::nullopt, progressHeight)
                               .id("guide.progress." + rawValue(step)));
    return HStack(VerticalAlignment::center, 4, std::move(segments));
}

View GuideView::page() const {
    const View cards = VStack(HorizontalAlignment::leading, 18,
                              GuidePages::cards(model_.flow().step, model_, settings_));
    return measuredIntoGuideHeight(
        fullWidth(cards.padding(EdgeInsets{22, sideInset, 22, sideInset})).id("guide.page"));
}

View GuideView::footer() const {
    const GuideFlow& flow = model_.flow();
    std::vector<View> items;
    if (flow.showsSkip())
        items.push_back(Button("Skip", [&model = model_] { model.skip(); })
                            .buttonStyle(ButtonStyle::plain)
                            .foregroundColor(Palette::dim())
                            .id("guide.skip"));
    items.push_back(Spacer());
    if (flow.canGoBack())
        items.push_back(Button("Back", [&model = model_] { model.back(); }).id("guide.back"));
    items.push_back(Button(flow.forwardTitle(), [&model = model_] { model.advance(); })
                        .buttonStyle(ButtonStyle::borderedProminent)
                        .keyboardShortcut(KeyboardShortcut::defaultAction())
                        .id("guide.forward"));
    return measuredIntoGuideHeight(HStack(VerticalAlignment::center, 10, std::move(items))
                                       .padding(EdgeInsets{14, sideInset, 14, sideInset})
                                       .background(Palette::chrome())
                                       .id("guide.footer"));
}

}  // namespace kelvo
