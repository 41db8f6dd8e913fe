#pragma once

#include <string>
#include <vector>

namespace kelvo {

/// The decision lines of a run of log lines: without the state text and the layout details.
inline std::vector<std::string> decisionLines(const std::vector<std::string>& lines) {
    std::vector<std::string> kept;
    for (const std::string& line : lines) {
        if (line.starts_with("  desktops: ") || line.starts_with("  active=") ||
            line.starts_with("  layout: ")) {
            continue;
        }
        kept.push_back(line);
    }
    return kept;
}

}  // namespace kelvo
