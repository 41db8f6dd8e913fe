#pragma once

#include <optional>
#include <string>

/// A uniform type identifier: a kind of file by its identifier, and the file-name extension
/// that marks it.
struct UTType {
    std::string identifier;
    std::optional<std::string> preferredFilenameExtension;
    bool operator==(const UTType&) const = default;

    /// JSON text, "public.json", files ending ".json".
    static UTType json() { return UTType{"public.json", "json"}; }
    static UTType plainText() { return UTType{"public.plain-text", "txt"}; }
};
