#pragma once

#include <string>

namespace kelvo_fixture {

/// What `kelvo-fixture` tells a person: how to start it, and with `--help` every request it
/// answers with the fields each reads, and what each window quirk does.
struct FixtureHelp {
    FixtureHelp() = delete;

    static std::string usage();
    static std::string text();
};

}  // namespace kelvo_fixture
