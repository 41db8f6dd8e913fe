#include <cctype>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Base/Foundation/DispatchQueue.h"
#include "KelvoApp/Services/Launcher/LauncherController.h"
#include "KelvoCore/Keys/KeyCode.h"
#include "PanelDesk.h"
#include "PictureBook.h"

namespace kelvo_pictures {

namespace {

using kelvo::LauncherApp;
using kelvo::LauncherViewModel;

using kelvo::KeyCode;

/// Installed applications, sixteen of them with "an" in their names, so that the query lists
/// twice as many as the panel shows; two of them run, one on desktop 3.
LauncherViewModel::Apps installed() {
    const char* names[] = {"Almanac",     "Banner Maker", "Canvas",        "Chant",
                           "Dance Notes", "Fanfare",      "Grand Atlas",   "Handwriting",
                           "Lantern",     "Manuscript",   "Orange Reader", "Planner",
                           "Scanner",     "Translate",    "Wanderer",      "Yearly Plans",
                           "Mail",        "Music",        "Weather"};
    LauncherViewModel::Apps apps;
    for (const std::string name : names) {
        std::string id = "com.example.";
        for (char c : name)
            if (c != ' ') id += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const bool running = name == "Canvas" || name == "Planner";
        apps[id] = LauncherApp{{id, name, running}, "/Applications/" + name + ".app"};
    }
    return apps;
}

/// The launcher over the applications with "an" typed and the selection moved `downs` rows
/// down; in vim mode it is then sent back to normal mode.
CGImageRef launcher(bool vimMode, int downs) {
    PanelDesk desk;
    desk.desktop().movePointer({720, 450});
    const DispatchQueue scans("kelvo-pictures.launcher.scan");
    const LauncherViewModel::Apps apps = installed();
    kelvo::LauncherController launcher(
        kelvo::LauncherController::Callbacks{
            .desktopOf = [](const std::string& id) -> std::optional<int> {
                if (id == "com.example.planner") return 3;
                return std::nullopt;
            },
            .bringsHere = [](const kelvo::LauncherEntry& entry) { return entry.isRunning; },
            .recents = [] { return std::vector<std::string>{}; },
            .vimMode = [vimMode] { return vimMode; },
        },
        kelvo::LauncherController::Sources{
            .installed = [apps] { return apps; },
            .running =
                [apps] {
                    LauncherViewModel::Apps running;
                    for (const auto& [id, app] : apps)
                        if (app.entry.isRunning) running[id] = app;
                    return running;
                },
            .icons = [](const std::string&,
                        const std::optional<std::filesystem::path>&) { return NSImageRef(); },
            .frontmost = [] { return std::optional<kelvo::RunningApplication>(); },
            .runningApplications = [] { return std::vector<kelvo::RunningApplication>{}; },
            .activate = [](int) {},
            .scanQueue = scans,
        });
    launcher.show();
    scans.sync([] {});
    desk.wait(0.1);
    if (vimMode) desk.desktop().typeText("i");
    desk.desktop().typeText("an");
    desk.wait(0.1);
    for (int row = 0; row < downs; ++row)
        desk.desktop().pressKey(KeyCode::downArrow);
    if (vimMode) desk.desktop().pressKey(KeyCode::escape);
    desk.wait(0.1);
    return PanelDesk::picture(launcher.panel(), 24);
}

}  // namespace

std::vector<Picture> launcherPictures() {
    return {
        // Two rows down: the running application on desktop 3, selected with its badge.
        {"launcher-insert-running", [] { return launcher(false, 2); }},
        // Ten rows down, past the first screenful.
        {"launcher-insert-scrolled", [] { return launcher(false, 10); }},
        {"launcher-normal-scrolled", [] { return launcher(true, 10); }},
    };
}

}  // namespace kelvo_pictures
