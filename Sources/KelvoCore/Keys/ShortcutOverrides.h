#pragma once

#include <map>
#include <optional>

#include "Base/JSON/JSONCoding.h"
#include "KelvoCore/Keys/Chord.h"
#include "KelvoCore/Keys/Shortcut.h"

namespace kelvo {

/// The user's change to one shortcut: a chord of its own that replaces the defaults, or no
/// chord at all.
class ShortcutOverride {
  public:
    enum class Kind { chord, cleared };

    static ShortcutOverride chord(Chord chord) { return ShortcutOverride(Kind::chord, chord); }
    static ShortcutOverride cleared() { return ShortcutOverride(Kind::cleared, Chord{}); }

    Kind kind() const { return kind_; }
    /// The chord of `chord`; none for `cleared`.
    std::optional<Chord> chord() const;

    bool operator==(const ShortcutOverride&) const = default;

  private:
    ShortcutOverride(Kind kind, Chord chord) : kind_(kind), chord_(chord) {}

    Kind kind_;
    Chord chord_;
};

/// The configuration's shortcut changes; a shortcut without an entry uses its defaults.
struct ShortcutOverrides {
    std::map<Shortcut, ShortcutOverride> entries;

    static ShortcutOverrides none() { return ShortcutOverrides{}; }

    std::optional<ShortcutOverride> override(Shortcut shortcut) const;
    void set(Chord chord, Shortcut shortcut);
    void clear(Shortcut shortcut);
    /// Removes the entry, so the shortcut takes its defaults again.
    void reset(Shortcut shortcut);
    bool isEmpty() const { return entries.empty(); }

    bool operator==(const ShortcutOverrides&) const = default;
};

/// An object keyed by shortcut name: the chord's object, or null for a cleared shortcut.
/// Reading never fails; damage is dropped entry by entry (a value that is no object gives no
/// overrides; unknown names, unreadable chords, chords with ⌘ and chords with neither ⌥ nor ⌃
/// are skipped).
template <>
struct JSONCoding<ShortcutOverrides> {
    static JSONValue encode(const ShortcutOverrides& overrides);
    static ShortcutOverrides decode(const JSONNode& node);

  private:
    static std::optional<ShortcutOverride> decodeEntry(const JSONNode& value);
};

}  // namespace kelvo
