// The launcher's scan of the installed applications in the machine's folders: the catalogue's
// part of opening the launcher, on the file system and an in-process desktop.

#include <benchmark/benchmark.h>

#include <string>

#include "KelvoApp/Services/Launcher/LauncherCatalog.h"
#include "Support/Simulator/ApplicationTree.h"
#include "Support/Simulator/InstalledDesktop.h"

namespace {

using kelvo::ApplicationTree;
using kelvo::BundleContents;

/// 500 bundles as a machine holds them: most in "/Applications", some in its folders one level
/// down, some in the user's and the system's folders; a tenth with an icon of their own.
void installApplications(const ApplicationTree& tree, int count) {
    for (int i = 0; i < count; ++i) {
        const std::string name = "App " + std::to_string(i);
        std::filesystem::path folder = tree.applications;
        if (i % 10 == 1) folder = tree.applications / ("Folder " + std::to_string(i % 7));
        if (i % 10 == 2) folder = tree.userApplications;
        if (i % 10 == 3) folder = tree.systemApplications;
        ApplicationTree::install(folder, name + ".app",
                                 BundleContents{.bundleID = "com.example.app" + std::to_string(i),
                                                .name = name,
                                                .icon = i % 10 == 4});
    }
}

// The installed-application scan the launcher runs off the main thread each time it opens.
void BM_InstalledScan(benchmark::State& state) {
    auto& tree = ApplicationTree::shared();
    tree.clear();
    installApplications(tree, static_cast<int>(state.range(0)));
    kelvo::InstalledDesktop desktop(CGRect(0, 0, 1440, 900), std::nullopt);
    desktop.desktop->setFileSystemRoot(tree.root.string());
    for (auto _ : state) {
        const auto installed = kelvo::LauncherCatalog::installed();
        if (installed.size() != static_cast<std::size_t>(state.range(0)))
            state.SkipWithError("not every bundle was found");
        benchmark::DoNotOptimize(installed);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_InstalledScan)->Arg(500)->Unit(benchmark::kMillisecond);

}  // namespace
