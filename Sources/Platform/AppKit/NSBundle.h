#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "Simulator/ApplicationBundle.h"

// A bundle: the program's own as the desktop knows this process (the application bundle it
// was started from or whose "Contents/MacOS" holds its executable, else the folder of its
// executable: a bare program has no bundle of its own), or an application bundle on disk opened by
// its location; the text values of its information dictionary. Foundation's class; it lives with
// the stand-ins that reach the desktop.

class NSBundle;
using NSBundleRef = std::shared_ptr<NSBundle>;

class NSBundle {
  public:
    /// The bundle of this process.
    static NSBundle& mainBundle();
    /// The bundle at `url`; null when it is none (no folder, or no readable information
    /// dictionary).
    static NSBundleRef bundleWithURL(const std::filesystem::path& url);

    std::filesystem::path bundleURL() const;
    /// The information dictionary's text under `key`; none when it holds no text there.
    std::optional<std::string> objectForInfoDictionaryKey(const std::string& key) const;
    std::optional<std::string> bundleIdentifier() const;

  private:
    NSBundle() = default;
    explicit NSBundle(sim::ApplicationBundle onDisk) : onDisk_(std::move(onDisk)) {}

    /// None for the main bundle, which is read from the desktop's record of this process.
    std::optional<sim::ApplicationBundle> onDisk_;
};
