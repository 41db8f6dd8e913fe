#pragma once

#include <string>

namespace kelvo {

/// Shortening application names to a budget of user-perceived characters.
class AppTitle {
  public:
    /// The character budget of an application name in the status item.
    static constexpr int menuBarLimit = 20;

    /// The text when it has at most `limit` characters, else its first `limit` − 1
    /// characters and "…", so exactly `limit` characters; a limit below 1 gives "".
    static std::string truncate(const std::string& text, int limit);
};

}  // namespace kelvo
