#pragma once

#include <array>
#include <optional>
#include <string>

#include "KelvoCore/Geometry/Direction.h"

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

    static constexpr std::array<Kind, 17> allKinds = {
        Kind::switchTo,    Kind::throwTo,         Kind::focus,
        Kind::moveWindow,  Kind::resize,          Kind::toggleZoom,
        Kind::toggleFloat, Kind::closeWindow,     Kind::newTerminal,
        Kind::rebalance,   Kind::toggleSplit,     Kind::rotate,
        Kind::launcher,    Kind::promoteToMaster, Kind::toggleLayoutMode,
        Kind::showDesktop, Kind::cheatsheet,
    };

    static Command switchTo(int desktop) { return Command(Kind::switchTo, desktop); }
    static Command throwTo(int desktop) { return Command(Kind::throwTo, desktop); }
    static Command focus(Direction d) { return Command(Kind::focus, d); }
    static Command moveWindow(Direction d) { return Command(Kind::moveWindow, d); }
    static Command resize(Direction d) { return Command(Kind::resize, d); }
    static Command toggleZoom() { return Command(Kind::toggleZoom); }
    static Command toggleFloat() { return Command(Kind::toggleFloat); }
    static Command closeWindow() { return Command(Kind::closeWindow); }
    static Command newTerminal() { return Command(Kind::newTerminal); }
    static Command rebalance() { return Command(Kind::rebalance); }
    static Command toggleSplit() { return Command(Kind::toggleSplit); }
    static Command rotate() { return Command(Kind::rotate); }
    static Command launcher() { return Command(Kind::launcher); }
    static Command promoteToMaster() { return Command(Kind::promoteToMaster); }
    static Command toggleLayoutMode() { return Command(Kind::toggleLayoutMode); }
    static Command showDesktop() { return Command(Kind::showDesktop); }
    static Command cheatsheet() { return Command(Kind::cheatsheet); }

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

    static bool carriesDesktop(Kind kind) {
        return kind == Kind::switchTo || kind == Kind::throwTo;
    }
    static bool carriesDirection(Kind kind) {
        return kind == Kind::focus || kind == Kind::moveWindow || kind == Kind::resize;
    }

    bool operator==(const Command&) const = default;

  private:
    explicit Command(Kind kind) : kind_(kind) {}
    Command(Kind kind, int desktop) : kind_(kind), desktop_(desktop) {}
    Command(Kind kind, Direction direction) : kind_(kind), direction_(direction) {}

    Kind kind_;
    int desktop_ = 0;
    Direction direction_ = Direction::left;
};

}  // namespace kelvo
