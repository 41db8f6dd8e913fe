#include "KelvoApp/Views/Settings/SettingsView.h"

#include "Base/Foundation/DispatchQueue.h"
#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoApp/Views/Banners.h"
#include "KelvoApp/Views/Palette.h"
#include "KelvoApp/Views/Settings/AboutPage.h"
#include "KelvoApp/Views/Settings/Card.h"
#include "KelvoApp/Views/Settings/FocusPage.h"
#include "KelvoApp/Views/Settings/GeneralPage.h"
#include "KelvoApp/Views/Settings/LauncherPage.h"
#include "KelvoApp/Views/Settings/SettingAnchor.h"
#include "KelvoApp/Views/Settings/SettingsChrome.h"
#include "KelvoApp/Views/Settings/ShortcutsPage.h"
#include "KelvoApp/Views/Settings/SystemPage.h"
#include "KelvoApp/Views/Settings/TilingPage.h"
#include "Platform/SwiftUI/Animation.h"
#include "Platform/SwiftUI/Controls.h"
#include "Platform/SwiftUI/ScrollView.h"
#include "Platform/SwiftUI/Shape.h"

namespace kelvo {

using namespace SwiftUI;

View SettingsView::body() const {
    const View stack = ZStack(Alignment::top(), {workingArea(), titleStrip(), searchKey()});
    return flashedSetting(stack, model_.flashing.get())
        .background(Palette::background())
        .tint(Palette::accent())
        .id("settings");
}

View SettingsView::writeErrorNotice(const std::string& error) const {
    return notice("Could not save to " + model_.configPath + ": " + error);
}

View SettingsView::workingArea() const {
    SettingsModel* owner = &model_;
    const Binding<SettingsTab> section([owner] { return owner->section(); },
                                       [owner](const SettingsTab& tab) { owner->setSection(tab); });
    return HStack(VerticalAlignment::center, 0,
                  {Sidebar{section, model_}.body().zIndex(1),
                   Rectangle().fill(Color::white().opacity(0.08)).frame(1, std::nullopt),
                   scrollingPage()})
        .padding(Edges::top(), titleRoom);
}

View SettingsView::titleStrip() const {
    return VStack(HorizontalAlignment::center, 0, {TitleStrip(), Hairline()});
}

View SettingsView::searchKey() const {
    SettingsModel* owner = &model_;
    return Button("Search settings", [owner] { owner->openSearch(); })
        .keyboardShortcut(KeyboardShortcut::commandKey("k"))
        .buttonStyle(ButtonStyle::plain)
        .frame(1, 1)
        .clipped()
        .opacity(0.001)
        .allowsHitTesting(false)
        .accessibilityHidden(true);
}

View SettingsView::scrollingPage() const {
    SettingsModel* owner = &model_;
    const std::optional<SettingsModel::Reveal> reveal = model_.reveal.get();
    const View content = pageContent();
    return ScrollViewReader([reveal, content](const ScrollViewProxy& proxy) {
               return ScrollView(content, true)
                   .onChange<std::optional<SettingsModel::Reveal>>(
                       reveal, [proxy](const std::optional<SettingsModel::Reveal>& now) {
                           if (!now) return;
                           const std::string id = now->id;
                           DispatchQueue::main().async([proxy, id] {
                               proxy.scrollTo(id, UnitPoint::center(),
                                              Animation::easeInOut(revealDuration));
                           });
                       });
           })
        .onPreferenceChange<ContentHeightKey>(
            [owner](const CGFloat& height) { reportHeight(*owner, height); })
        .id("settings.page");
}

void SettingsView::reportHeight(SettingsModel& model, CGFloat height) {
    if (!(height > 0) || !model.sizingOwed) return;
    model.sizingOwed = false;
    if (model.onIdealHeight) model.onIdealHeight(height);
}

View SettingsView::pageContent() const {
    std::vector<View> blocks;
    if (model_.loadFailed.get()) {
        blocks.push_back(notice(model_.configPath +
                                " could not be read, so these are Kelvo's defaults rather than "
                                "your settings. Changing anything here replaces that file."));
    }
    if (const std::optional<std::string>& error = model_.writeError.get())
        blocks.push_back(writeErrorNotice(*error));
    blocks.push_back(page(model_.section()));
    return VStack(HorizontalAlignment::leading, pageSpacing, std::move(blocks))
        .padding(EdgeInsets{pageVerticalInset, pageHorizontalInset, pageVerticalInset,
                            pageHorizontalInset})
        // Top and leading: the page never floats down when it measures shorter than placed.
        .frame(FlexibleFrame{.maxWidth = infinity, .alignment = Alignment::topLeading()})
        .background(GeometryReader([](const GeometryProxy& proxy) {
            return Color::clear().view().preference<ContentHeightKey>(proxy.size.height);
        }));
}

View SettingsView::page(SettingsTab tab) const {
    switch (tab) {
        case SettingsTab::general:
            return GeneralPage{model_};
        case SettingsTab::tiling:
            return TilingPage{model_};
        case SettingsTab::focus:
            return FocusPage{model_};
        case SettingsTab::shortcuts:
            return ShortcutsPage{model_};
        case SettingsTab::launcher:
            return LauncherPage{model_};
        case SettingsTab::system:
            return SystemPage{model_};
        case SettingsTab::about:
            return AboutPage{model_};
    }
    return EmptyView();
}

}  // namespace kelvo
