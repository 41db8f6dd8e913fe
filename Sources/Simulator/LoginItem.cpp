#include "Simulator/LoginItem.h"

#include <array>
#include <utility>

namespace sim {

namespace {

constexpr std::array<std::pair<LoginItemPolicy, const char*>, 4> policyNames = {{
    {LoginItemPolicy::allows, "allow"},
    {LoginItemPolicy::needsApproval, "approval"},
    {LoginItemPolicy::refuses, "refuse"},
    {LoginItemPolicy::cannotFind, "missing"},
}};

}  // namespace

std::string toString(LoginItemPolicy policy) {
    for (const auto& [each, name] : policyNames) {
        if (each == policy) return name;
    }
    return "allow";
}

std::optional<LoginItemPolicy> loginItemPolicyFromString(const std::string& text) {
    for (const auto& [each, name] : policyNames) {
        if (text == name) return each;
    }
    return std::nullopt;
}

std::string LoginItem::reportedStatus() const {
    return policy == LoginItemPolicy::cannotFind ? "notFound" : status;
}

std::optional<std::string> LoginItem::change(bool on) {
    switch (policy) {
        case LoginItemPolicy::refuses:
            return "Operation not permitted";
        case LoginItemPolicy::cannotFind:
            return "Invalid argument";
        case LoginItemPolicy::needsApproval:
            status = on ? "requiresApproval" : "notRegistered";
            return std::nullopt;
        case LoginItemPolicy::allows:
            status = on ? "enabled" : "notRegistered";
            return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace sim
