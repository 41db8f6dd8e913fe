#pragma once

#include <exception>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>

#include "Base/JSON/JSONDecoder.h"
#include "KelvoCore/Config/Config.h"

namespace kelvo {

/// The settings file a user keeps or carries to another machine: the configuration without
/// the two keys that describe this machine rather than the user's wishes (the preference
/// values the system tweaks replaced, and the recently used applications).
class ConfigTransfer {
  public:
    /// Why an import was refused, with the sentence the user is shown.
    class Failure : public std::runtime_error {
      public:
        enum class Kind { unreadable, notASettingsFile, noSettingsInside };

        static Failure unreadable(std::string reason) {
            return Failure(Kind::unreadable, std::move(reason));
        }
        static Failure notASettingsFile() { return Failure(Kind::notASettingsFile, {}); }
        static Failure noSettingsInside() { return Failure(Kind::noSettingsInside, {}); }

        Kind kind() const { return kind_; }
        /// Why the file could not be read, for `unreadable`; empty otherwise.
        const std::string& reason() const { return reason_; }
        std::string message() const { return what(); }

        bool operator==(const Failure& other) const {
            return kind_ == other.kind_ && reason_ == other.reason_;
        }

      private:
        Failure(Kind kind, std::string reason);
        static std::string messageFor(Kind kind, const std::string& reason);

        Kind kind_;
        std::string reason_;
    };

    /// The 24 configuration keys that make a file a settings file.
    static const std::set<std::string>& settingKeys();
    /// The keys never exported and never taken from an imported file.
    static const std::set<std::string>& recordKeys();

    /// The settings file's bytes: pretty-printed, keys sorted. Throws EncodingError.
    static std::string exportSettings(const Config& config);
    /// The configuration a settings file describes, keeping the current machine records;
    /// a setting the file lacks takes its missing-key value. Throws only Failure, whatever the
    /// bytes.
    static Config importSettings(std::string_view bytes, const Config& current);
    /// The defaults with the current machine records.
    static Config defaults(const Config& keeping);

    /// The reason text of `unreadable` for an error met while decoding.
    static std::string reason(const std::exception& error);

  private:
    static std::string decodingReason(const DecodingError& error);
    static Config keepingRecords(Config config, const Config& current);
};

}  // namespace kelvo
