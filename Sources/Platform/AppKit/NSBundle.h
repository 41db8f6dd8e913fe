#pragma once

#include <filesystem>
#include <optional>
#include <string>

// The program's own bundle as the desktop knows this process: the application bundle it was
// started from, else the folder of its executable (a bare program has no bundle of its own),
// and the text values of the bundle's information dictionary. Foundation's class; it lives
// with the stand-ins that reach the desktop.

class NSBundle {
  public:
    /// The bundle of this process.
    static NSBundle& mainBundle();

    std::filesystem::path bundleURL() const;
    /// The information dictionary's text under `key`; none when it holds no text there.
    std::optional<std::string> objectForInfoDictionaryKey(const std::string& key) const;
    std::optional<std::string> bundleIdentifier() const;

  private:
    NSBundle() = default;
};
