#pragma once

#include <optional>
#include <string>
#include <vector>

#include "KelvoCore/Wire/FixtureRequest.h"

namespace kelvo_fixture {

/// One line of the fixture's input read as a request, or what is wrong with it: the field
/// that holds the mistake and why, so that a person typing requests sees what to mend.
struct RequestLine {
    std::optional<kelvo::FixtureRequest> request;
    /// Why the line is no request ("the field \"op\" is missing"); empty for a request.
    std::string problem;

    static RequestLine read(const std::string& line);
    /// The fields a request may hold, in ascending order.
    static const std::vector<std::string>& fieldNames();
};

}  // namespace kelvo_fixture
