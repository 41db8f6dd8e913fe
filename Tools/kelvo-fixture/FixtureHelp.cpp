#include "FixtureHelp.h"

#include <algorithm>

#include "FixtureApplication.h"
#include "FixtureQuirks.h"
#include "RequestLine.h"

namespace kelvo_fixture {

namespace {

/// `text` padded with blanks to `width` characters.
std::string padded(std::string_view text, std::size_t width) {
    std::string result(text);
    if (result.size() < width) result.append(width - result.size(), ' ');
    return result;
}

}  // namespace

std::string FixtureHelp::usage() {
    return "usage: kelvo-fixture [--bundle-id ID] [--name NAME] | --bundle | --help\n";
}

std::string FixtureHelp::text() {
    const FixtureApplication::Options defaults;
    std::string text = usage();
    text += "\nAn application of the simulated desktop at $KELVO_SIM_SOCKET (bundle identifier " +
            defaults.bundleID + " and name " + defaults.name +
            " unless given). It reads one JSON request per line on standard input and writes "
            "one JSON reply per line on standard output; it ends after \"quit\" or at the end "
            "of its input. Like other applications it opens a new window when it is in front "
            "and ⌘N reaches it.\n\nWith --bundle it runs as an application bundle's "
            "executable: it reads nothing, opens one window at launch and ends when the desktop "
            "asks it to quit; the bundle it was opened from tells who it is.\n\nRequests (\"op\", "
            "then the other fields each reads):\n";
    std::size_t nameWidth = 0;
    for (const auto& operation : FixtureApplication::operations())
        nameWidth = std::max(nameWidth, operation.name.size());
    for (const auto& operation : FixtureApplication::operations()) {
        text += "  " + padded(operation.name, nameWidth + 2) + std::string(operation.what);
        if (!operation.fields.empty()) text += " [" + std::string(operation.fields) + "]";
        text += "\n";
    }
    text +=
        "\nFields: x, y, width, height and after are numbers, window a window's number, "
        "title text, quirk one of the quirks below. Every reply holds \"ok\", and "
        "\"error\" when it is false.\n"
        "Example: {\"op\":\"open\",\"quirk\":\"clampsSize\",\"title\":\"Two\",\"x\":300,"
        "\"y\":200,\"width\":600,\"height\":400}\n\nQuirks (what a window opened with one "
        "does):\n";
    std::size_t quirkWidth = 0;
    for (const auto quirk : kelvo::fixture_quirk::allCases)
        quirkWidth = std::max(quirkWidth, kelvo::rawValue(quirk).size());
    for (const auto quirk : kelvo::fixture_quirk::allCases) {
        text += "  " + padded(kelvo::rawValue(quirk), quirkWidth + 2) + FixtureQuirks::what(quirk) +
                "\n";
    }
    text += "Moves the application makes itself (\"move\") never count as being placed.\n";
    return text;
}

}  // namespace kelvo_fixture
