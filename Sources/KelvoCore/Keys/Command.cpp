#include "KelvoCore/Keys/Command.h"

#include "KelvoCore/Keys/CaseTable.h"

namespace kelvo {

namespace {

/// What a command carries besides its kind.
enum class Payload { none, desktop, direction };

struct KindInfo {
    Command::Kind kind;
    /// The case name.
    const char* name;
    Payload payload;
};

/// Every kind of command, in case order.
constexpr KindInfo kinds[] = {
    {Command::Kind::switchTo, "switchTo", Payload::desktop},
    {Command::Kind::throwTo, "throwTo", Payload::desktop},
    {Command::Kind::focus, "focus", Payload::direction},
    {Command::Kind::moveWindow, "moveWindow", Payload::direction},
    {Command::Kind::resize, "resize", Payload::direction},
    {Command::Kind::toggleZoom, "toggleZoom", Payload::none},
    {Command::Kind::toggleFloat, "toggleFloat", Payload::none},
    {Command::Kind::closeWindow, "closeWindow", Payload::none},
    {Command::Kind::newTerminal, "newTerminal", Payload::none},
    {Command::Kind::rebalance, "rebalance", Payload::none},
    {Command::Kind::toggleSplit, "toggleSplit", Payload::none},
    {Command::Kind::rotate, "rotate", Payload::none},
    {Command::Kind::launcher, "launcher", Payload::none},
    {Command::Kind::promoteToMaster, "promoteToMaster", Payload::none},
    {Command::Kind::toggleLayoutMode, "toggleLayoutMode", Payload::none},
    {Command::Kind::showDesktop, "showDesktop", Payload::none},
    {Command::Kind::cheatsheet, "cheatsheet", Payload::none},
};
static_assert(std::size(kinds) == Command::kindCount && inCaseOrder(kinds, &KindInfo::kind));

}  // namespace

bool Command::carriesDesktop(Kind kind) {
    return caseRow(kinds, kind).payload == Payload::desktop;
}

bool Command::carriesDirection(Kind kind) {
    return caseRow(kinds, kind).payload == Payload::direction;
}

std::optional<Command> Command::plain(Kind kind) {
    if (carriesDesktop(kind) || carriesDirection(kind)) return std::nullopt;
    return Command(kind);
}

std::optional<int> Command::desktop() const {
    if (!carriesDesktop(kind_)) return std::nullopt;
    return desktop_;
}

std::optional<Direction> Command::direction() const {
    if (!carriesDirection(kind_)) return std::nullopt;
    return direction_;
}

std::string Command::name(Kind kind) {
    return caseRow(kinds, kind).name;
}

std::string Command::description() const {
    if (auto d = desktop()) return name() + "(" + std::to_string(*d) + ")";
    if (auto d = direction()) return name() + "(" + toString(*d) + ")";
    return name();
}

}  // namespace kelvo
