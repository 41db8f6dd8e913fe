#include "Support/Simulator/ApplicationTree.h"

#include <cstdlib>
#include <fstream>

#include "Base/CoreGraphics/CGBitmapContext.h"
#include "Base/CoreGraphics/CGImage.h"

namespace kelvo {

namespace {

void write(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string entry(const std::string& key, const std::string& value) {
    return "\t<key>" + key + "</key>\n\t<string>" + value + "</string>\n";
}

}  // namespace

ApplicationTree::ApplicationTree()
    : root(folder_ / "root"),
      home(folder_ / "home"),
      applications(root / "Applications"),
      userApplications(home / "Applications"),
      systemApplications(root / "System" / "Applications") {
    for (const auto& folder : {applications, userApplications, systemApplications})
        std::filesystem::create_directories(folder);
    if (const char* previous = std::getenv("HOME")) previousHome_ = previous;
    ::setenv("HOME", home.c_str(), 1);
}

ApplicationTree::~ApplicationTree() {
    if (previousHome_) {
        ::setenv("HOME", previousHome_->c_str(), 1);
    } else {
        ::unsetenv("HOME");
    }
}

ApplicationTree& ApplicationTree::shared() {
    static ApplicationTree tree;  // removed with its folders when the process ends
    return tree;
}

void ApplicationTree::clear() {
    for (const auto& folder : {applications, userApplications, systemApplications}) {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
}

std::string ApplicationTree::infoPlist(const BundleContents& contents,
                                       const std::string& executable) {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
        "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
        "<plist version=\"1.0\">\n<dict>\n";
    if (contents.bundleID) text += entry("CFBundleIdentifier", *contents.bundleID);
    if (contents.name) text += entry("CFBundleName", *contents.name);
    if (contents.displayName) text += entry("CFBundleDisplayName", *contents.displayName);
    if (!executable.empty()) text += entry("CFBundleExecutable", executable);
    if (contents.icon) text += entry("CFBundleIconFile", "AppIcon");
    if (contents.agent) text += "\t<key>LSUIElement</key>\n\t<true/>\n";
    return text + "</dict>\n</plist>\n";
}

std::filesystem::path ApplicationTree::install(const std::filesystem::path& folder,
                                               const std::string& fileName,
                                               const BundleContents& contents) {
    const std::filesystem::path bundle = folder / fileName;
    const std::string executable =
        contents.executable.empty() ? std::string() : bundle.stem().string();
    write(bundle / "Contents" / "Info.plist", infoPlist(contents, executable));
    std::filesystem::create_directories(bundle / "Contents" / "Resources");
    if (contents.icon) {
        const auto context = CGBitmapContext::make(16, 16);
        context->setFillColor(CGColorCreateSRGB(0.2, 0.5, 0.9, 1));
        context->fill(CGRect(0, 0, 16, 16));
        context->makeImage()->writePNG((bundle / "Contents/Resources/AppIcon.png").string());
    }
    if (!executable.empty()) {
        const auto path = bundle / "Contents" / "MacOS" / executable;
        write(path, contents.executable);
        std::filesystem::permissions(path, std::filesystem::perms::owner_all |
                                               std::filesystem::perms::group_read |
                                               std::filesystem::perms::group_exec);
    }
    return bundle;
}

}  // namespace kelvo
