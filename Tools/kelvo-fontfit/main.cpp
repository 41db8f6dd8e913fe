// kelvo-fontfit FAMILY: lays out the system's own windows (the settings window's tabs, the cheat
// sheet, the launcher, the guide's pages) on a 1920 × 1080 display with FAMILY, one of the
// machine's fonts, standing in for the system font, and counts what does not fit: texts cut with
// "…", texts that reach out of a frame around them, and the cheat sheet's sections below the
// bottom of its scroll view. The widths the windows fix were drawn for the platform's own font:
// the family that leaves the fewest out is the one to draw with.

#include <fontconfig/fontconfig.h>
#include <pango/pango.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "Base/CoreGraphics/CGRecordingContext.h"
#include "Base/Foundation/ManualClock.h"
#include "KelvoApp/Services/Launcher/LauncherView.h"
#include "KelvoApp/Services/Overlays/CheatsheetPanelController.h"
#include "KelvoApp/Services/Windows/GuideWindowController.h"
#include "KelvoApp/Settings/CFPreferenceStore.h"
#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoApp/Views/Settings/SettingsView.h"
#include "KelvoCore/Bindings/KeyReference.h"
#include "KelvoCore/Config/ConfigStore.h"
#include "PanelDesk.h"
#include "Platform/AppKit/FontConfiguration.h"
#include "Platform/AppKit/NSGraphicsContext.h"
#include "Platform/AppKit/NSTextField.h"
#include "Platform/AppKit/TextTypesetter.h"
#include "Platform/SwiftUI/Color.h"
#include "Platform/SwiftUI/NSHostingView.h"
#include "Platform/SwiftUI/ViewGraph.h"

namespace {

using SwiftUI::LayoutNode;
using SwiftUI::NodeKind;

// The texts of the system's own that end in "…" by themselves.
const std::set<std::string> ownEllipses = {"Settings…",
                                           "Add…",
                                           "Search settings…",
                                           "Restore…",
                                           "Press keys…",
                                           "Open…",
                                           "Open or switch to…",
                                           "Open Login Items…",
                                           "Open Guide…",
                                           "Import…",
                                           "Guide…",
                                           "Grant access…",
                                           "Export…",
                                           "…"};

/// Draws the system font with `family`, from every font of the machine; the system family
/// itself is measured with the fonts the programs draw with.
bool useFamily(const std::string& family) {
    if (!FontConfiguration::install()) return false;
    if (family == NSFont::systemFamily) return true;
    const std::string xml = R"(<?xml version="1.0"?><fontconfig><dir>/usr/share/fonts</dir>
<cachedir>/var/cache/fontconfig</cachedir>
<match target="pattern"><test name="family"><string>)" +
                            std::string(NSFont::systemFamily) + R"(</string></test>
<edit name="family" mode="assign" binding="strong"><string>)" +
                            family + R"(</string></edit></match>
<alias binding="same"><family>)" +
                            family +
                            R"(</family><accept><family>DejaVu Sans</family></accept></alias>
<match target="font">
<edit name="antialias" mode="assign"><bool>true</bool></edit>
<edit name="hinting" mode="assign"><bool>false</bool></edit>
<edit name="rgba" mode="assign"><const>none</const></edit>
</match></fontconfig>)";
    FcConfig* config = FcConfigCreate();
    const bool ok = FcConfigParseAndLoadFromMemory(
                        config, reinterpret_cast<const FcChar8*>(xml.c_str()), FcTrue) &&
                    FcConfigBuildFonts(config) && FcConfigSetCurrent(config);
    FcConfigDestroy(config);
    return ok;
}

struct Counts {
    int cut = 0;
    int overflowing = 0;
    int sectionsBelow = 0;
    int lines = 0;
};

/// Every text cut or reaching out, once however many windows show it.
std::set<std::string> cutTexts, overflowingTexts;

std::string unwrapped(std::string text) {
    std::erase(text, '\n');
    return text;
}

bool contains(const CGRect& outer, const CGRect& inner) {
    constexpr double slack = 0.5;
    return inner.minX() >= outer.minX() - slack && inner.minY() >= outer.minY() - slack &&
           inner.maxX() <= outer.maxX() + slack && inner.maxY() <= outer.maxY() + slack;
}

/// The text a hosted field draws (its placeholder while empty) and what it was to draw.
void checkField(NSTextField& field, CGSize size, const std::string& where, Counts& counts) {
    field.setFrame(CGRect(CGPoint{}, size));
    const CGRect bounds(CGPoint{}, size);
    CGRecordingContext recording(bounds.size);
    NSGraphicsContext graphics(recording, true);
    NSGraphicsContextScope scope(graphics);
    field.drawRect(bounds);
    std::string meant = field.stringValue();
    if (meant.empty())
        meant = field.placeholderAttributedString() ? field.placeholderAttributedString()->string()
                                                    : field.placeholderString();
    for (const auto& op : recording.operations(CGDrawOperationKind::text)) {
        if (op.text->text != meant) {
            ++counts.cut;
            cutTexts.insert(meant);
            const CGFloat wants = field.placeholderAttributedString()
                                      ? field.placeholderAttributedString()->size().width
                                      : 0;
            std::cout << "  cut " << where << ": field \"" << op.text->text << "\" of \"" << meant
                      << "\" (" << wants << " in " << size.width - 4 << ")\n";
        }
    }
}

void walk(const LayoutNode& node, std::vector<const LayoutNode*>& ancestors,
          const std::string& where, Counts& counts) {
    if (node.opacity < 0.01) return;  // hidden, as the ⌘K button is
    if (node.kind == NodeKind::text && !node.text.empty()) {
        const std::string shown = unwrapped(node.text);
        counts.lines += 1 + static_cast<int>(std::count(node.text.begin(), node.text.end(), '\n'));
        if (shown.ends_with("…") && !ownEllipses.contains(shown)) {
            ++counts.cut;
            cutTexts.insert(shown.substr(0, 24));
            std::cout << "  cut " << where << ": \"" << shown << "\" " << node.frame.width() << "x"
                      << node.frame.height() << "\n";
        }
        for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
            const LayoutNode& around = **it;
            if (around.kind == NodeKind::scrollView) break;
            if (!contains(around.frame, node.frame)) {
                ++counts.overflowing;
                overflowingTexts.insert(shown);
                std::cout << "  overflows " << where << ": \"" << shown << "\" "
                          << node.frame.width() << "x" << node.frame.height() << " out of "
                          << around.kind << " " << around.frame.width() << "x"
                          << around.frame.height() << "\n";
                break;
            }
        }
    }
    if (node.hostedView)
        if (auto* field = dynamic_cast<NSTextField*>(node.hostedView.get()))
            checkField(*field, node.frame.size, where, counts);
    ancestors.push_back(&node);
    for (const LayoutNode& child : node.children)
        walk(child, ancestors, where, counts);
    ancestors.pop_back();
}

void count(const LayoutNode& tree, const std::string& where, Counts& counts) {
    std::vector<const LayoutNode*> ancestors;
    walk(tree, ancestors, where, counts);
}

/// A desktop of this process with a display of 1920 × 1080.
class Desk : public kelvo_pictures::PanelDesk {
  public:
    Desk() : PanelDesk(CGRect(0, 0, 1920, 1080)) {}
};

std::filesystem::path nowhere() {
    return std::filesystem::temp_directory_path() / "kelvo-fontfit-no-such-folder" / "config.json";
}

/// A settings model over `store` whose tweaks and log lead nowhere.
std::unique_ptr<kelvo::SettingsModel> settingsModel(kelvo::ConfigStore& store) {
    return std::make_unique<kelvo::SettingsModel>(
        store, kelvo::SystemTweakService(std::make_shared<kelvo::CFPreferenceStore>(), [] {}),
        nowhere().parent_path() / "kelvo.log");
}

void settingsWindow(Counts& counts) {
    Desk desk;
    kelvo::ConfigStore store(nowhere());
    const auto owned = settingsModel(store);
    kelvo::SettingsModel& model = *owned;
    model.runningApps = std::vector<kelvo::AppEntry>{{"com.example.notes", "Notes"}};
    for (kelvo::SettingsTab tab : kelvo::settings_tab::allCases) {
        model.setSection(tab);
        desk.wait(0.1);
        SwiftUI::ViewGraph graph([&model] { return kelvo::SettingsView(model).body(); });
        // The window on a 1920 × 1080 display: 696 wide, its height capped at 820.
        count(graph.layout({696, 820}), "settings " + kelvo::rawValue(tab), counts);
    }
}

void cheatSheet(Counts& counts) {
    Desk desk;
    kelvo::CheatsheetPanelController sheet([] { return kelvo::KeyReference::sections({}); });
    sheet.toggle();
    desk.wait(0.1);
    const LayoutNode& tree = sheet.hosting->layoutTree();
    count(tree, "cheat sheet", counts);
    const LayoutNode* scroll = tree.findKind(NodeKind::scrollView);
    if (!scroll) return;
    for (const auto& section : kelvo::KeyReference::sections({})) {
        std::string title;
        for (char c : section.title)
            title += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        const LayoutNode* heading = tree.find([&](const LayoutNode& n) {
            return n.kind == NodeKind::text && unwrapped(n.text) == title;
        });
        // The section's cell: its heading and its rows below it, as far as its last row.
        const LayoutNode* last = nullptr;
        for (const auto& entry : section.entries) {
            const LayoutNode* row = tree.find([&](const LayoutNode& n) {
                return n.kind == NodeKind::text && unwrapped(n.text) == entry.what;
            });
            if (row) last = row;
        }
        const double bottom = last ? last->frame.maxY() : heading ? heading->frame.maxY() : 1e9;
        if (bottom > scroll->frame.maxY() + 0.5) {
            ++counts.sectionsBelow;
            std::cout << "  below the sheet: " << section.title << " (to " << bottom << ", sheet "
                      << scroll->frame.maxY() << ")\n";
        }
    }
}

void launcher(Counts& counts) {
    Desk desk;
    for (bool vim : {false, true}) {
        auto model = std::make_shared<kelvo::LauncherViewModel>(
            [](const std::string& id) -> std::optional<int> {
                if (id == "com.example.notes") return 1;
                return std::nullopt;
            },
            [](const kelvo::LauncherEntry&) { return true; });
        kelvo::LauncherViewModel::Apps apps;
        for (const auto& [id, name] : std::vector<std::pair<std::string, std::string>>{
                 {"com.example.notes", "Notes"},
                 {"com.example.browser", "Browser"},
                 {"com.apple.Terminal", "Terminal"},
                 {"com.example.maps", "Maps"},
                 {"com.example.long", "A Rather Long Application Name For Its Row"}})
            apps[id] = kelvo::LauncherApp{{id, name, true}, std::nullopt};
        model->setApps(apps);
        model->vimMode = vim;
        SwiftUI::ViewGraph graph(
            [model] { return kelvo::LauncherView(model, SwiftUI::Color::clear().view()).body(); });
        count(graph.layout({640, 52 * 5 + 112}), vim ? "launcher (vim)" : "launcher", counts);
    }
    // The query field's placeholder, as the launcher's field draws it.
    NSTextField field(CGRect(0, 0, 640 - 40 - 18 - 14, 28));
    NSTextAttributes placeholder;
    placeholder.font = NSFont::systemFontOfSize(20);
    field.setLineBreakMode(NSLineBreakMode::byTruncatingTail);
    field.setPlaceholderAttributedString(NSAttributedString("Open or switch to…", placeholder));
    checkField(field, field.frame().size, "launcher field", counts);
}

void guide(Counts& counts) {
    Desk desk;
    kelvo::ConfigStore store(nowhere());
    const auto owned = settingsModel(store);
    kelvo::SettingsModel& settings = *owned;
    kelvo::GuideWindowController controller(settings);
    controller.anchor = [] { return CGRect(1700, 1055, 180, 25); };
    controller.show();
    for (kelvo::GuideStep step : kelvo::guide_step::allCases) {
        kelvo::GuideFlow flow(kelvo::GuideStep::accessibility);
        while (flow.step != step)
            flow.advance();
        controller.model.setFlow(flow);
        desk.wait(0.1);
        count(controller.hosting->layoutTree(), "guide " + kelvo::rawValue(step), counts);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: kelvo-fontfit FAMILY\n";
        return 64;
    }
    if (!useFamily(argv[1])) {
        std::cerr << "kelvo-fontfit: cannot load a configuration for " << argv[1] << "\n";
        return 1;
    }
    Counts settings, sheet, launch, pages;
    settingsWindow(settings);
    cheatSheet(sheet);
    launcher(launch);
    guide(pages);
    const auto line = [](const char* what, const Counts& c) {
        std::cout << what << ": cut " << c.cut << ", overflowing " << c.overflowing << ", lines "
                  << c.lines << "\n";
    };
    line("settings", settings);
    line("cheat sheet", sheet);
    line("launcher", launch);
    line("guide", pages);
    std::cout << "cheat sheet sections below: " << sheet.sectionsBelow << "\n";
    std::cout << "total: cut " << settings.cut + sheet.cut + launch.cut + pages.cut
              << ", overflowing "
              << settings.overflowing + sheet.overflowing + launch.overflowing + pages.overflowing
              << ", sections below " << sheet.sectionsBelow << ", lines "
              << settings.lines + sheet.lines + launch.lines + pages.lines << "\n";
    std::cout << "distinct: cut " << cutTexts.size() << ", overflowing " << overflowingTexts.size()
              << "\n";
    PangoFontDescription* asked =
        pango_font_description_from_string((std::string(NSFont::systemFamily) + " 13").c_str());
    PangoFont* font = pango_context_load_font(TextTypesetter::context(), asked);
    PangoFontDescription* got = pango_font_describe(font);
    std::cout << "drawn with: " << pango_font_description_get_family(got) << "\n";
    pango_font_description_free(got);
    pango_font_description_free(asked);
    g_object_unref(font);
    return 0;
}
