// A keystroke in the launcher with 500 installed applications: from the key on the desktop to
// the panel's new pixels held by the desktop (the key routed to the field, the query ranked
// over every candidate, the rows published, the view laid out, drawn and sent). In process,
// on the manual clock, so only the work is timed.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#include "Base/Foundation/ManualClock.h"
#include "KelvoApp/Services/LauncherController.h"
#include "Platform/AppKit/NSApplication.h"
#include "Simulator/Desktop.h"
#include "Support/Simulator/InstalledDesktop.h"

namespace {

using namespace kelvo;

constexpr std::uint16_t deleteKey = 51;

LauncherViewModel::Apps fiveHundredApps() {
    LauncherViewModel::Apps apps;
    for (int i = 0; i < 500; ++i) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%03d", i);
        LauncherApp app;
        app.entry.bundleID = "com.example.application" + std::to_string(i);
        app.entry.name = std::string("Application ") + digits;
        app.url = "/Applications/" + app.entry.name + ".app";
        apps.emplace(app.entry.bundleID, std::move(app));
    }
    return apps;
}

void BM_LauncherKeystroke(benchmark::State& state) {
    ManualClock clock;
    InstalledDesktop installed{CGRect(0, 0, 1440, 900), InstalledDesktop::ownBundlePath};
    DispatchQueue scans("launcher.bench.scan");
    LauncherController::Callbacks callbacks{
        .desktopOf = [](const std::string&) { return std::nullopt; },
        .bringsHere = [](const LauncherEntry&) { return false; },
        .recents = [] { return std::vector<std::string>{}; },
        .vimMode = [] { return false; },
    };
    LauncherController::Sources sources{
        .installed = [] { return fiveHundredApps(); },
        .running = [] { return LauncherViewModel::Apps{}; },
        .icons = [](const std::string&,
                    const std::optional<std::filesystem::path>&) { return NSImageRef(); },
        .scanQueue = scans,
    };
    // The application object takes the desktop's events for its windows.
    NSApplication::sharedApplication();
    // The launcher opens over another application, which stays in front.
    installed.launch("com.example.editor", true);
    auto launcher = std::make_unique<LauncherController>(callbacks, sources);
    scans.sync([] {});
    clock.runUntilIdle();
    launcher->show();
    scans.sync([] {});
    clock.runUntilIdle();
    if (launcher->model().model().entries().size() != 500) state.SkipWithError("not 500");
    installed.desktop->typeText("a");
    clock.runUntilIdle();
    if (launcher->model().model().query() != "a") state.SkipWithError("the key did not arrive");
    installed.desktop->pressKey(deleteKey);
    clock.runUntilIdle();

    for (auto _ : state) {
        installed.desktop->typeText("a");
        clock.runUntilIdle();
        installed.desktop->pressKey(deleteKey);
        clock.runUntilIdle();
    }
    state.SetItemsProcessed(state.iterations() * 2);
    state.counters["pictures"] = static_cast<double>(launcher->panel().picturesSent());
    launcher.reset();
    clock.runUntilIdle();
}
BENCHMARK(BM_LauncherKeystroke)->Unit(benchmark::kMillisecond);

}  // namespace
