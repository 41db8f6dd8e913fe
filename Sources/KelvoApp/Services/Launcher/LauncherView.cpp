#include "KelvoApp/Services/Launcher/LauncherView.h"

#include <cstdio>

#include "KelvoApp/Views/Palette.h"
#include "Platform/SwiftUI/Image.h"
#include "Platform/SwiftUI/Shape.h"
#include "Platform/SwiftUI/Text.h"

namespace kelvo {

using namespace SwiftUI;

namespace {

Color white(double opacity) {
    return Color::white().opacity(opacity);
}

Color accent(double opacity) {
    return Palette::accent().opacity(opacity);
}

View separator() {
    return Rectangle().fill(white(0.08)).frame(std::nullopt, LauncherView::separatorHeight);
}

/// A rounded plate filled and stroked in a colour, behind or around a label.
View roundedPlate(CGFloat radius, const Color& fill, const Color& stroke) {
    return RoundedRectangle(radius, RoundedCornerStyle::continuous)
        .fill(fill)
        .overlay(RoundedRectangle(radius, RoundedCornerStyle::continuous).stroke(stroke, 1));
}

View hintItem(const LauncherHint& hint) {
    const View cap = Text(hint.cap)
                         .font(Font::system(11, Font::Weight::medium, Font::Design::rounded))
                         .foregroundColor(white(0.72))
                         .frame(FlexibleFrame{.minWidth = 11})
                         .padding(EdgeInsets{2, 6, 2, 6})
                         .background(roundedPlate(5, white(0.1), white(0.09)));
    const View label = Text(hint.label).font(Font::system(11)).foregroundColor(white(0.5));
    return HStack(VerticalAlignment::center, 6, {cap, label}).id("hint." + hint.label);
}

}  // namespace

std::vector<LauncherHint> launcherHints(bool vimMode, LauncherModel::Mode mode, bool canBringHere) {
    std::vector<LauncherHint> hints;
    if (vimMode && mode == LauncherModel::Mode::normal) {
        hints = {{"j k", "move"}, {"i", "type"}, {"esc", "close"}};
    } else {
        hints = {{"⇥", "complete"}, {"↩", "open"}, {"esc", vimMode ? "normal" : "close"}};
    }
    if (canBringHere) hints.push_back({"⇧↩", "bring here"});
    return hints;
}

LauncherView::LauncherView(std::shared_ptr<LauncherViewModel> model, View field)
    : model_(std::move(model)), field_(std::move(field)) {}

CGFloat LauncherView::height(int rows) {
    if (rows <= 0) return queryRowHeight;
    return queryRowHeight + 2 * separatorHeight + 2 * listPadding + rowHeight * rows +
           hintBarHeight;
}

View LauncherView::body() const {
    std::vector<View> stack{queryRow()};
    if (!model_->rows->empty()) {
        stack.push_back(separator());
        stack.push_back(list());
        stack.push_back(separator());
        stack.push_back(hintBar());
    }
    return VStack(HorizontalAlignment::center, 0, std::move(stack)).id("launcher");
}

View LauncherView::queryRow() const {
    std::vector<View> items{
        Image::systemName("magnifyingglass")
            .font(Font::system(18, Font::Weight::medium))
            .foregroundColor(white(0.38)),
        field_
            .frame(FlexibleFrame{.maxWidth = infinity,
                                 .minHeight = 28,
                                 .maxHeight = 28,
                                 .alignment = Alignment::leading()})
            .id("launcher.field"),
    };
    if (model_->vimMode) items.push_back(modeChip());
    return HStack(VerticalAlignment::center, 14, std::move(items))
        .padding(Edges::horizontal(), 20)
        .frame(std::nullopt, queryRowHeight)
        .id("launcher.query");
}

View LauncherView::modeChip() const {
    const bool normal = model_->mode == LauncherModel::Mode::normal;
    return Text(normal ? "NORMAL" : "INSERT")
        .font(Font::system(10, Font::Weight::semibold, Font::Design::rounded))
        .tracking(0.6)
        .foregroundColor(white(normal ? 0.95 : 0.55))
        .padding(EdgeInsets{3, 7, 3, 7})
        .background(normal ? roundedPlate(5, accent(0.55), white(0.18))
                           : roundedPlate(5, white(0.1), white(0.09)))
        .id("launcher.mode");
}

View LauncherView::list() const {
    std::vector<View> rows;
    const std::vector<LauncherRowItem>& items = model_->rows;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int index = static_cast<int>(i);
        std::weak_ptr<LauncherViewModel> weak = model_;
        rows.push_back(LauncherRowView(items[i], index == model_->selection)
                           .body()
                           .contentShape(Rectangle())
                           .onTapGesture([weak, index] {
                               if (auto model = weak.lock()) model->choose(index);
                           }));
    }
    return VStack(HorizontalAlignment::center, 0, std::move(rows))
        .padding(Edges::vertical(), listPadding)
        .id("launcher.list");
}

View LauncherView::hintBar() const {
    std::vector<View> items;
    for (const LauncherHint& hint :
         launcherHints(model_->vimMode, model_->mode, model_->canBringHere))
        items.push_back(hintItem(hint));
    items.push_back(Spacer());
    return HStack(VerticalAlignment::center, 16, std::move(items))
        .padding(Edges::horizontal(), 20)
        .frame(std::nullopt, hintBarHeight)
        .id("launcher.hints");
}

View LauncherRowView::body() const {
    std::vector<View> label{Text(row_.name)
                                .font(Font::system(15))
                                .foregroundColor(white(selected_ ? 1 : 0.78))
                                .lineLimit(1)};
    if (row_.desktop) label.push_back(badge(*row_.desktop));
    View row = HStack(VerticalAlignment::center, 14,
                      {icon(), HStack(VerticalAlignment::center, 10, std::move(label)), Spacer()})
                   .padding(Edges::horizontal(), 20)
                   .frame(FlexibleFrame{.maxWidth = infinity,
                                        .minHeight = LauncherView::rowHeight,
                                        .maxHeight = LauncherView::rowHeight,
                                        .alignment = Alignment::leading()});
    if (selected_) row = row.background(plate());
    return row.id("launcher.row." + row_.bundleID);
}

View LauncherRowView::icon() const {
    if (!row_.icon) {
        return RoundedRectangle(7, RoundedCornerStyle::continuous)
            .fill(white(0.08))
            .frame(iconSize, iconSize)
            .id("launcher.icon.placeholder");
    }
    return Image(row_.icon)
        .resizable()
        .interpolation(Image::Interpolation::high)
        .frame(iconSize, iconSize)
        .id("launcher.icon");
}

View LauncherRowView::badge(int desktop) const {
    char number[24];
    std::snprintf(number, sizeof number, "%lld", static_cast<long long>(desktop));
    return Text(number)
        .font(Font::system(12.5, Font::Weight::semibold, Font::Design::rounded))
        .foregroundColor(Color::white())
        .frame(FlexibleFrame{.minWidth = 26, .minHeight = 22})
        .background(RoundedRectangle(6, RoundedCornerStyle::continuous)
                        .fill(accent(selected_ ? 0.62 : 0.42)))
        .id("launcher.badge");
}

View LauncherRowView::plate() const {
    return roundedPlate(10, accent(0.2), accent(0.38))
        .id("launcher.selection")
        .padding(EdgeInsets{3, 8, 3, 8});
}

}  // namespace kelvo
