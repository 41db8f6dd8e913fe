#pragma once

#include <stdexcept>
#include <string>

// The Service Management framework's login items: the main application asks the desktop to
// open it at login, or not. The desktop keeps the state per application and may refuse a
// change or hold it until the user approves it in its settings.

class SMAppService {
  public:
    enum class Status { notRegistered, enabled, requiresApproval, notFound };

    /// What `register` and `unregister` throw when the desktop refuses the change.
    class Error : public std::runtime_error {
      public:
        using std::runtime_error::runtime_error;
        std::string localizedDescription() const { return what(); }
    };

    /// The service of the running application itself.
    static SMAppService& mainApp();

    /// Asks the desktop afresh; `notFound` when no desktop answers.
    Status status() const;
    /// Throws `Error` when the desktop refuses.
    void registerService();
    /// Throws `Error` when the desktop refuses.
    void unregisterService();

  private:
    SMAppService() = default;
};

/// "notRegistered", "enabled", "requiresApproval", "notFound".
std::string toString(SMAppService::Status status);
