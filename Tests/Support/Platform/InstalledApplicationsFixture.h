#pragma once

#include <string>

#include "Support/Platform/DesktopFixture.h"
#include "Support/Simulator/ApplicationTree.h"

namespace kelvo {

/// A desktop whose machine keeps its applications in the process's shared application tree,
/// emptied for each test.
class InstalledApplicationsFixture : public DesktopFixture {
  protected:
    InstalledApplicationsFixture() {
        tree.clear();
        desktop->setFileSystemRoot(tree.root.string());
    }

    /// A bundle with just an identifier in `folder`, named `fileName`.
    std::filesystem::path bundle(const std::filesystem::path& folder, const std::string& fileName,
                                 const std::string& bundleID) {
        return tree.install(folder, fileName, BundleContents{.bundleID = bundleID});
    }
    /// Launches a regular application from the bundle at `path`.
    sim::Pid launchFrom(const std::filesystem::path& path, const std::string& bundleID,
                        const std::string& name) {
        sim::ApplicationSpec spec;
        spec.bundleID = bundleID;
        spec.name = name;
        spec.bundlePath = path.string();
        return desktop->launch(spec);
    }
    /// Shows or hides every file-name extension, as the file viewer's setting does.
    void showAllExtensions(bool shown) {
        desktop->setPreference(sim::Desktop::globalPreferenceDomain, "AppleShowAllExtensions",
                               sim::PreferenceData::makeBoolean(shown));
    }

    ApplicationTree& tree = ApplicationTree::shared();
};

}  // namespace kelvo
