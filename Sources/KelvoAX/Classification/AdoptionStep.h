#pragma once

#include <array>
#include <optional>

namespace kelvo {

/// The next rung of a new window's adoption: read it again after a delay, adopt it as it now
/// reads, or leave it unmanaged.
class AdoptionStep {
  public:
    enum class Kind { retry, adopt, giveUp };

    /// Re-read times of a floating window before its verdict is trusted, in seconds.
    static constexpr std::array<double, 3> floatSettleDelays = {0.15, 0.3, 0.6};
    /// The same for a floating window that may still turn out resizable.
    static constexpr std::array<double, 4> earlyFloatSettleDelays = {0.15, 0.3, 0.6, 1.2};
    /// One second look at a window its application did not list.
    static constexpr double absentRetryDelay = 0.15;

    static AdoptionStep retry(double after) { return AdoptionStep(Kind::retry, after); }
    static AdoptionStep adopt() { return AdoptionStep(Kind::adopt, std::nullopt); }
    static AdoptionStep giveUp() { return AdoptionStep(Kind::giveUp, std::nullopt); }

    Kind kind() const { return kind_; }
    /// Seconds until the re-read of `retry`.
    std::optional<double> delay() const { return delay_; }

    bool operator==(const AdoptionStep&) const = default;

  private:
    AdoptionStep(Kind kind, std::optional<double> delay) : kind_(kind), delay_(delay) {}

    Kind kind_;
    std::optional<double> delay_;
};

/// The rung after `attempt` reads (counting from 0). A found floating window is re-read while
/// it settles, then adopted; a found tiled one is adopted at once; a window held back only
/// because it cannot be moved yet gets three more looks, one merely absent gets one.
AdoptionStep adoptionStep(bool found, bool floating, int attempt, bool ignoredForNow,
                          bool mayBeEarly);

}  // namespace kelvo
