#include "KelvoApp/Settings/ShortcutRecorder.h"

#include <variant>

#include "Base/Foundation/DispatchQueue.h"
#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoCore/Bindings/ShortcutEditor.h"
#include "KelvoCore/Keys/KeyCode.h"

namespace kelvo {

ShortcutRecorder::~ShortcutRecorder() {
    if (deadline_) deadline_->cancel();
    if (monitor_) NSEvent::removeMonitor(monitor_);
}

Chord ShortcutRecorder::chord(const NSEvent& event) {
    const NSEventModifierFlags flags = event.modifierFlags();
    return Chord{
        .keyCode = event.keyCode(),
        .option = (flags & NSEventModifierFlagOption) != 0,
        .control = (flags & NSEventModifierFlagControl) != 0,
        .command = (flags & NSEventModifierFlagCommand) != 0,
        .shift = (flags & NSEventModifierFlagShift) != 0,
    };
}

void ShortcutRecorder::begin(Shortcut shortcut) {
    if (!model_.setHotkeysSuspended) {
        model_.recordNotice = std::string(noKeyTapNotice);
        return;
    }
    end(false);
    model_.recordNotice = std::nullopt;
    model_.recording = shortcut;
    model_.setHotkeysSuspended(true);
    const std::weak_ptr<ShortcutRecorder*> alive = alive_;
    monitor_ = NSEvent::addLocalMonitorForEventsMatchingMask(
        NSEventMaskKeyDown, [alive](const NSEventRef& event) -> NSEventRef {
            if (const auto recorder = alive.lock(); recorder && event) (*recorder)->record(*event);
            return nullptr;
        });
    deadline_.emplace([alive] {
        if (const auto recorder = alive.lock()) (*recorder)->end(true);
    });
    DispatchQueue::main().asyncAfter(DispatchTime::now() + SettingsModel::recordingLimit,
                                     *deadline_);
}

void ShortcutRecorder::record(const NSEvent& event) {
    const std::optional<Shortcut> shortcut = model_.recording.get();
    if (!shortcut) return;
    const Chord pressed = chord(event);
    if (pressed.keyCode == KeyCode::escape && !pressed.control && !pressed.option &&
        !pressed.command) {
        end(true);
        return;
    }
    end(true);
    auto bound = ShortcutEditor::bind(pressed, *shortcut, model_.config());
    if (const auto* rejection = std::get_if<ShortcutRejection>(&bound)) {
        model_.recordNotice = rejection->message();
        return;
    }
    model_.setConfig(std::get<Config>(std::move(bound)));
}

void ShortcutRecorder::end(bool resumeHotkeys) {
    if (deadline_) {
        deadline_->cancel();
        deadline_.reset();
    }
    if (monitor_) {
        NSEvent::removeMonitor(monitor_);
        monitor_.reset();
    }
    if (model_.recording.get()) model_.recording = std::nullopt;
    if (resumeHotkeys && model_.setHotkeysSuspended) model_.setHotkeysSuspended(false);
}

void ShortcutRecorder::clear(Shortcut shortcut) {
    end(true);
    model_.recordNotice = std::nullopt;
    model_.setConfig(ShortcutEditor::clear(shortcut, model_.config()));
}

void ShortcutRecorder::reset(Shortcut shortcut) {
    end(true);
    model_.recordNotice = std::nullopt;
    model_.setConfig(ShortcutEditor::reset(shortcut, model_.config()));
}

void ShortcutRecorder::resetAll() {
    end(true);
    model_.recordNotice = std::nullopt;
    model_.updateConfig([](Config& next) { next.shortcuts = ShortcutOverrides::none(); });
}

}  // namespace kelvo
