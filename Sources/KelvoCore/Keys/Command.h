#pragma once

#include <array>
#include <optional>
#include <string>

#include "KelvoCore/Geometry/Direction.h"
#include "KelvoCore/Keys/CaseTable.h"

namespace kelvo {

/// The one vocabulary of user actions. Built only through the factories, so that the payload
/// a case does not carry always holds its neutral value and equality compares what matters.
class Command {
  public:
    enum class Kind {
        switchTo,
        throwTo,
        focus,
        moveWindow,
        resize,
        toggleZoom,
        toggleFloat,
        closeWindow,
        newTerminal,
        rebalance,
        toggleSplit,
        rotate,
        launcher,
        promoteToMaster,
        toggleLayoutMode,
        showDesktop,
        cheatsheet,
    };

    static constexpr std::size_t kindCount = 17;
    /// Every kind, in case order.
    static constexpr std::array<Kind, kindCount> allKinds = allCasesOf<Kind, kindCount>();

    static constexpr Command switchTo(int desktop) { return Command(Kind::switchTo, desktop); }
    static constexpr Command throwTo(int desktop) { return Command(Kind::throwTo, desktop); }
    static constexpr Command focus(Direction d) { return Command(Kind::focus, d); }
    static constexpr Command moveWindow(Direction d) { return Command(Kind::moveWindow, d); }
    static constexpr Command resize(Direction d) { return Command(Kind::resize, d); }
    static constexpr Command toggleZoom() { return Command(Kind::toggleZoom); }
    static constexpr Command toggleFloat() { return Command(Kind::toggleFloat); }
    static constexpr Command closeWindow() { return Command(Kind::closeWindow); }
    static constexpr Command newTerminal() { return Command(Kind::newTerminal); }
    static constexpr Command rebalance() { return Command(Kind::rebalance); }
    static constexpr Command toggleSplit() { return Command(Kind::toggleSplit); }
    static constexpr Command rotate() { return Command(Kind::rotate); }
    static constexpr Command launcher() { return Command(Kind::launcher); }
    static constexpr Command promoteToMaster() { return Command(Kind::promoteToMaster); }
    static constexpr Command toggleLayoutMode() { return Command(Kind::toggleLayoutMode); }
    static constexpr Command showDesktop() { return Command(Kind::showDesktop); }
    static constexpr Command cheatsheet() { return Command(Kind::cheatsheet); }

    /// The case without a payload; none for the five cases that carry one.
    static std::optional<Command> plain(Kind kind);

    Kind kind() const { return kind_; }
    /// The desktop number of `switchTo` and `throwTo`.
    std::optional<int> desktop() const;
    /// The direction of `focus`, `moveWindow` and `resize`.
    std::optional<Direction> direction() const;

    /// The case name ("switchTo", "toggleZoom", …).
    static std::string name(Kind kind);
    std::string name() const { return name(kind_); }
    /// The case name with its payload, for log lines: "switchTo(2)", "focus(left)".
    std::string description() const;

    static bool carriesDesktop(Kind kind);
    static bool carriesDirection(Kind kind);

    bool operator==(const Command&) const = default;

  private:
    constexpr explicit Command(Kind kind) : kind_(kind) {}
    constexpr Command(Kind kind, int desktop) : kind_(kind), desktop_(desktop) {}
    constexpr Command(Kind kind, Direction direction) : kind_(kind), direction_(direction) {}

    Kind kind_;
    int desktop_ = 0;
    Direction direction_ = Direction::left;
};

}  // namespace kelvo
