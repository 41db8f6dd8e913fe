#pragma once

#include <optional>
#include <string>

namespace sim {

/// How the desktop answers an application that asks to be opened at login.
enum class LoginItemPolicy {
    /// Registering makes it a login item at once; unregistering removes it.
    allows,
    /// Registering waits for the user's approval in the desktop's settings.
    needsApproval,
    /// Every change is refused.
    refuses,
    /// The desktop cannot find the application to register it.
    cannotFind,
};

/// "allow", "approval", "refuse", "missing".
std::string toString(LoginItemPolicy policy);
std::optional<LoginItemPolicy> loginItemPolicyFromString(const std::string& text);

/// One application's login item as the desktop keeps it.
struct LoginItem {
    LoginItemPolicy policy = LoginItemPolicy::allows;
    /// "notRegistered", "enabled" or "requiresApproval"; "notFound" while the desktop cannot
    /// find the application.
    std::string status = "notRegistered";

    /// The status the application reads.
    std::string reportedStatus() const;
    /// Registers (true) or unregisters; the refusal's text, none when it was done.
    std::optional<std::string> change(bool on);
};

}  // namespace sim
