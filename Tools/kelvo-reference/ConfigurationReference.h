#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo_reference {

/// The README's reference of the configuration, made from the code so that it cannot drift:
/// every key of the configuration file in the file's order with the default Kelvo writes and
/// what it takes, the keys whose missing value is not the default, and every default
/// shortcut as the key reference lists it, with the name under which the file overrides it.
class ConfigurationReference {
  public:
    /// The code has a key this reference does not describe, or the other way round.
    class Mismatch : public std::logic_error {
      public:
        using std::logic_error::logic_error;
    };

    struct Key {
        std::string_view name;
        /// What the key holds and what it does.
        std::string values;
    };

    /// The keys, in the order the file's record has its fields.
    static std::vector<Key> keys();

    /// The Markdown of the whole reference (throws Mismatch).
    static std::string markdown();
    static std::string keysTable();
    static std::string missingKeys();
    static std::string shortcutsTable();
};

}  // namespace kelvo_reference
