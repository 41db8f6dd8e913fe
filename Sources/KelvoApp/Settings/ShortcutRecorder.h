#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "Base/Foundation/DispatchWorkItem.h"
#include "KelvoCore/Keys/Chord.h"
#include "KelvoCore/Keys/Shortcut.h"
#include "Platform/AppKit/NSEvent.h"

namespace kelvo {

class SettingsModel;

/// The settings model's shortcut recording: while it runs the global hot keys are suspended,
/// a local key monitor catches exactly one key-down of this application and the chord is bound
/// through the shortcut editor. It ends on that key, on Escape, after the time limit, or when
/// the model ends it (another tab, the search, the window closing or losing the keys).
class ShortcutRecorder {
  public:
    static constexpr const char* noKeyTapNotice =
        "Kelvo's key tap is not running, so there is nothing to record with.";

    explicit ShortcutRecorder(SettingsModel& model) : model_(model) {}
    ~ShortcutRecorder();
    ShortcutRecorder(const ShortcutRecorder&) = delete;
    ShortcutRecorder& operator=(const ShortcutRecorder&) = delete;

    void begin(Shortcut shortcut);
    void end(bool resumeHotkeys);
    void clear(Shortcut shortcut);
    void reset(Shortcut shortcut);
    void resetAll();

    /// The chord a key-down stands for: its key and the four modifier flags.
    static Chord chord(const NSEvent& event);

  private:
    /// The one key of the recording.
    void record(const NSEvent& event);

    SettingsModel& model_;
    /// The local key monitor while recording.
    std::shared_ptr<void> monitor_;
    /// The recording's deadline.
    std::optional<DispatchWorkItem> deadline_;
    /// The monitor's handler and the deadline hold this weakly.
    std::shared_ptr<ShortcutRecorder*> alive_ = std::make_shared<ShortcutRecorder*>(this);
};

}  // namespace kelvo
