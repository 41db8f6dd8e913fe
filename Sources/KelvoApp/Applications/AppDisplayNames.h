#pragma once

#include <map>
#include <string>

namespace kelvo {

/// The name people know an application by, for a bundle identifier: the running application's
/// own name, else the installed application's, else the identifier itself. Each answer is
/// kept for the rest of the process, so a later launch or rename does not change it. Main
/// thread only.
class AppDisplayNames {
  public:
    AppDisplayNames() = delete;
    static std::string name(const std::string& bundleID);

  private:
    static std::map<std::string, std::string>& memo();
};

}  // namespace kelvo
