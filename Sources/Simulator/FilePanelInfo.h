#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Simulator/DesktopValues.h"

namespace sim {

/// A kind of file a panel lets the person choose, by its type identifier ("public.json") and
/// the file-name extension that marks it ("json").
struct ContentType {
    std::string identifier;
    std::string filenameExtension;
    bool operator==(const ContentType&) const = default;
};

/// A save or open panel as a client shows it.
struct FilePanelSpec {
    enum class Kind { save, open };
    Kind kind = Kind::save;
    std::string title;
    /// The name a save panel proposes; empty for an open panel.
    std::string nameFieldStringValue;
    /// Empty: any file.
    std::vector<ContentType> allowedContentTypes;
    bool canCreateDirectories = false;
    bool canChooseFiles = true;
    bool canChooseDirectories = false;
    bool allowsMultipleSelection = false;
    /// The window the panel runs as a sheet of; none when it runs modally.
    std::optional<WindowNumber> sheetOf;
    bool operator==(const FilePanelSpec&) const = default;
};

/// The file chosen in a panel; none when the person cancelled it.
using FilePanelAnswer = std::optional<std::string>;
/// A cancelled panel's answer, as it is scripted and recorded in place of a path.
inline constexpr const char* filePanelCancelled = "cancel";

/// One file panel the desktop showed, with the application that showed it and the answer it
/// got.
struct FilePanelRecord {
    Pid owner = 0;
    FilePanelSpec panel;
    FilePanelAnswer answer;
    bool operator==(const FilePanelRecord&) const = default;
};

}  // namespace sim
