#pragma once

#include <sys/types.h>

#include <optional>

namespace kelvo {

/// One focus request's activation of an application, as what came to the front after it tells:
/// the retries exist for an activation the platform dropped, not for one a person overruled. So
/// they end once any other application has come to the front since the request (Kelvo too,
/// when one of its own windows opens): someone chose it. The application that was in front
/// when the request was made counts once the asked-for one had taken the front from it; before
/// that, seeing it in front only means the activation has not taken yet.
class ActivationRequest {
  public:
    ActivationRequest(pid_t requested, std::optional<pid_t> frontBefore)
        : requested_(requested), frontBefore_(frontBefore) {}

    /// The workspace's news that an application came to the front.
    void noteActivated(pid_t pid);
    /// The application someone put in front instead of the asked-for one, given the one in
    /// front now (news of it may still be on its way); none while nobody has chosen.
    std::optional<pid_t> chosenInstead(std::optional<pid_t> frontNow) const;

  private:
    /// Another application in front than the asked-for one means a choice, unless it is the
    /// one that was in front all along.
    bool isChoice(pid_t pid) const;

    pid_t requested_;
    std::optional<pid_t> frontBefore_;
    /// The asked-for application has come to the front since the request.
    bool taken_ = false;
    std::optional<pid_t> chosen_;
};

}  // namespace kelvo
