#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The general pasteboard: one per desktop, kept by the desktop, so that text copied in one
// process pastes in another. Only plain text travels here.

using NSPasteboardType = std::string;
inline const NSPasteboardType NSPasteboardTypeString = "public.utf8-plain-text";

class NSPasteboard {
  public:
    static NSPasteboard& generalPasteboard();

    /// Empties the pasteboard before new contents are written; returns its change count.
    std::int64_t clearContents();
    /// False for a type other than text, or without a desktop.
    bool setString(const std::string& string, const NSPasteboardType& type);
    /// None when the pasteboard holds no text.
    std::optional<std::string> stringForType(const NSPasteboardType& type) const;

  private:
    NSPasteboard() = default;
};
