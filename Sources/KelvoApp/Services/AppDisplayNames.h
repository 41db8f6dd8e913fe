#pragma once

#include <string>

namespace kelvo {

/// The name people know an application by. Until the application catalogue is built the
/// name is the bundle identifier itself.
class AppDisplayNames {
  public:
    AppDisplayNames() = delete;
    static std::string name(const std::string& bundleID);
};

}  // namespace kelvo
