#include <string>
#include <vector>

#include "Base/CoreGraphics/CGBitmapContext.h"
#include "PictureBook.h"
#include "Platform/SwiftUI/Controls.h"
#include "Platform/SwiftUI/Shape.h"
#include "Platform/SwiftUI/Text.h"
#include "Platform/SwiftUI/ViewGraph.h"

namespace kelvo_pictures {

namespace {

using namespace SwiftUI;

const Color background(0.043, 0.055, 0.086);
const Color card(0.086, 0.102, 0.145);
const Color accent(0.36, 0.55, 1.0);

template <class T>
Binding<T> fixed(T value) {
    return Binding<T>::constant(value);
}

View caption(const std::string& text) {
    return View(Text(text).font(Font::system(11)).foregroundColor(Color::white().opacity(0.42)))
        .frame(FlexibleFrame{.minWidth = 150, .alignment = Alignment::leading()});
}

View line(const std::string& name, std::vector<View> states) {
    std::vector<View> content{caption(name)};
    for (const View& state : states)
        content.push_back(state);
    content.push_back(Spacer());
    return HStack(VerticalAlignment::center, 18, content);
}

/// Every control in its states, on the settings window's background.
View controlSheet() {
    const std::vector<std::pair<std::string, int>> modes{{"Split", 0}, {"Master & stack", 1}};
    const std::vector<std::pair<std::string, int>> terminals{{"Automatic (Terminal)", 0},
                                                             {"Terminal", 1}};
    return VStack(
               HorizontalAlignment::leading, 16,
               {line("Switch: off, on, disabled",
                     {Toggle("", fixed(false)), Toggle("", fixed(true)),
                      Toggle("", fixed(true)).disabled(true)}),
                line("Slider: 8 of 64, 0.35 of 1",
                     {Slider(fixed(8.0), 0, 64).frame(150, std::nullopt),
                      Slider(fixed(0.35), 0, 1).frame(150, std::nullopt)}),
                line("Stepper beside its value",
                     {HStack(VerticalAlignment::center, 10,
                             {Text("9").font(
                                  Font::system(15, Font::Weight::medium, Font::Design::monospaced)),
                              Stepper(fixed(9LL), 1, 9)})}),
                line("Segmented picker", {Picker(fixed(0), modes, PickerStyle::segmented),
                                          Picker(fixed(1), modes, PickerStyle::segmented)}),
                line("Pop-up picker, menu", {Picker(fixed(0), terminals, PickerStyle::menu),
                                             Menu("Add…", {{"Safari", [] {}}})}),
                line("Buttons: bordered, prominent, plain, disabled",
                     {Button("Open Guide…", [] {}),
                      Button("Continue", [] {}).buttonStyle(ButtonStyle::borderedProminent),
                      Button("Skip", [] {}).buttonStyle(ButtonStyle::plain),
                      Button("Check now", [] {}).disabled(true)}),
                line("Colour well", {ColorPicker("", fixed(Color(1.0, 0.42, 0.36)))}),
                line("Text field: empty, filled",
                     {TextField("Search settings…", fixed(std::string())).frame(180, std::nullopt),
                      TextField("Search settings…", fixed(std::string("gaps")))
                          .frame(180, std::nullopt)})})
        .padding(24)
        .frame(FlexibleFrame{
            .maxWidth = infinity, .maxHeight = infinity, .alignment = Alignment::topLeading()})
        .background(background)
        .tint(accent)
        .font(Font::system(13))
        .foregroundColor(Color::white().opacity(0.88));
}

View settingRow(const std::string& title, const std::string& detail, const View& control) {
    return HStack(VerticalAlignment::center, 18,
                  {VStack(HorizontalAlignment::leading, 2,
                          {Text(title)
                               .font(Font::system(13))
                               .foregroundColor(Color::white().opacity(0.94)),
                           View(Text(detail)
                                    .font(Font::system(11.5))
                                    .foregroundColor(Color::white().opacity(0.42)))
                               .fixedSize(false, true)
                               .frame(FlexibleFrame{.maxWidth = 400,
                                                    .alignment = Alignment::leading()})}),
                   Spacer(12), control.fixedSize()})
        .padding(EdgeInsets{11, 16, 11, 16});
}

/// A card of setting rows as the settings window shows them.
View sampleCard() {
    const View hairline = Color::white().opacity(0.045).view().frame(std::nullopt, 1);
    const View rows =
        VStack(HorizontalAlignment::leading, 0,
               {settingRow("Desktops", "⌥1 through ⌥9 switch between them.",
                           HStack(VerticalAlignment::center, 10,
                                  {Text("9").font(Font::system(15, Font::Weight::medium,
                                                               Font::Design::monospaced)),
                                   Stepper(fixed(9LL), 1, 9)})),
                hairline,
                settingRow("Desktop-switch display",
                           "Shows the desktop's number for a moment when you switch.",
                           Toggle("", fixed(true))),
                hairline,
                settingRow("Inner gap", "Space between tiled windows.",
                           HStack(VerticalAlignment::center, 12,
                                  {Slider(fixed(8.0), 0, 64).frame(150, std::nullopt),
                                   View(Text("8 pt").font(Font::system(12, Font::Weight::medium,
                                                                       Font::Design::monospaced)))
                                       .frame(46, std::nullopt, Alignment::trailing())}))})
            .frame(FlexibleFrame{.maxWidth = infinity, .alignment = Alignment::leading()})
            .background(RoundedRectangle(12, RoundedCornerStyle::continuous).fill(card))
            .overlay(RoundedRectangle(12, RoundedCornerStyle::continuous)
                         .stroke(Color::white().opacity(0.06)));
    return VStack(HorizontalAlignment::leading, 9,
                  {View(Text("DESKTOPS")
                            .font(Font::system(10.5, Font::Weight::semibold))
                            .tracking(1.1)
                            .foregroundColor(Color::white().opacity(0.42)))
                       .padding(Edges::leading(), 2),
                   rows})
        .padding(24)
        .frame(FlexibleFrame{
            .maxWidth = infinity, .maxHeight = infinity, .alignment = Alignment::topLeading()})
        .background(background)
        .tint(accent);
}

CGImageRef render(const std::function<View()>& body, CGSize size) {
    ViewGraph graph(body);
    graph.layout(size);
    const auto context = CGBitmapContext::make(size, 2);
    if (!context) return nullptr;
    graph.draw(*context);
    return context->makeImage();
}

}  // namespace

std::vector<Picture> controlPictures() {
    return {
        {"controls",
         [] {
             return render(controlSheet, {720, 420});
         }},
        {"sample-card",
         [] {
             return render(sampleCard, {620, 300});
         }},
    };
}

}  // namespace kelvo_pictures
