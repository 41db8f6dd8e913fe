#pragma once

#include <string>

// What the system tells a process about the machine it runs on. Foundation's class; it lives
// with the stand-ins that reach the desktop.

class NSProcessInfo {
  public:
    static NSProcessInfo& processInfo();

    /// The operating system's version as people read it, such as "Version 14.5 (Build 23F79)";
    /// empty without a desktop.
    std::string operatingSystemVersionString() const;

  private:
    NSProcessInfo() = default;
};
