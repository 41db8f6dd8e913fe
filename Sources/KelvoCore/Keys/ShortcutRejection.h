#pragma once

#include <string>

namespace kelvo {

/// Why a chord cannot be bound to a shortcut, with the sentence the user is shown.
class ShortcutRejection {
  public:
    enum class Kind { taken, noModifier, usesCommand };

    /// Another owner holds the chord; `ownerTitle` names it.
    static ShortcutRejection taken(std::string ownerTitle) {
        return ShortcutRejection(Kind::taken, std::move(ownerTitle));
    }
    static ShortcutRejection noModifier() { return ShortcutRejection(Kind::noModifier, {}); }
    static ShortcutRejection usesCommand() { return ShortcutRejection(Kind::usesCommand, {}); }

    Kind kind() const { return kind_; }
    /// The owner's title of `taken`; empty otherwise.
    const std::string& ownerTitle() const { return ownerTitle_; }
    std::string message() const;

    bool operator==(const ShortcutRejection&) const = default;

  private:
    ShortcutRejection(Kind kind, std::string ownerTitle)
        : kind_(kind), ownerTitle_(std::move(ownerTitle)) {}

    Kind kind_;
    std::string ownerTitle_;
};

}  // namespace kelvo
