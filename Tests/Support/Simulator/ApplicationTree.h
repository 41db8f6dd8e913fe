#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "Support/Base/TemporaryFolder.h"

namespace kelvo {

/// What one application bundle written for a test holds.
struct BundleContents {
    std::optional<std::string> bundleID = std::nullopt;
    /// "CFBundleName"; none leaves it out.
    std::optional<std::string> name = std::nullopt;
    std::optional<std::string> displayName = std::nullopt;
    /// A small PNG icon in the resources, named by the information dictionary.
    bool icon = false;
    /// "LSUIElement": an agent without a Dock icon.
    bool agent = false;
    /// The executable's text (a shell script); empty writes none.
    std::string executable = {};
};

/// A simulated machine's file system in a temporary folder: `root` stands for "/" (its
/// "Applications" and "System/Applications") and `home` is the user's home, which `HOME`
/// names while the tree lives.
class ApplicationTree {
  public:
    ApplicationTree();
    ~ApplicationTree();
    ApplicationTree(const ApplicationTree&) = delete;
    ApplicationTree& operator=(const ApplicationTree&) = delete;

    /// One tree for the whole test process: the launcher's roots are made once per process, so
    /// every test that reads them must find the same folders. Each test empties it first.
    static ApplicationTree& shared();
    /// Removes every application, keeping the folders.
    void clear();

    /// Writes a bundle `fileName` (e.g. "Editor.app") into `folder` (e.g. root / "Applications")
    /// and gives its path.
    static std::filesystem::path install(const std::filesystem::path& folder,
                                         const std::string& fileName,
                                         const BundleContents& contents);
    /// The information dictionary as an XML property list.
    static std::string infoPlist(const BundleContents& contents, const std::string& executable);

  private:
    testing::TemporaryFolder folder_;

  public:
    std::filesystem::path root;
    std::filesystem::path home;
    std::filesystem::path applications;  // root / "Applications"
    std::filesystem::path userApplications;
    std::filesystem::path systemApplications;

  private:
    std::optional<std::string> previousHome_;
};

}  // namespace kelvo
