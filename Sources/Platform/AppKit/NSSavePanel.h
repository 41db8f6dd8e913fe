#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Platform/AppKit/NSAlert.h"
#include "Platform/AppKit/UTType.h"

class NSWindow;

inline constexpr NSModalResponse NSModalResponseOK = 1;
inline constexpr NSModalResponse NSModalResponseCancel = 0;

// File panels. Nobody sits at the desktop to choose a file: it answers each panel as a test
// (or a harness, through `kelvo-sim answer-panels`) scripted there, and cancels a panel with
// nothing scripted. Without a desktop every panel is cancelled.

class NSSavePanel {
  public:
    static std::shared_ptr<NSSavePanel> savePanel();
    virtual ~NSSavePanel() = default;

    std::string title;
    /// The file name proposed to the person.
    std::string nameFieldStringValue;
    /// Empty: any kind of file.
    std::vector<UTType> allowedContentTypes;
    bool canCreateDirectories = false;

    /// Shows the panel and waits for the answer.
    NSModalResponse runModal();
    /// Shows the panel as a sheet of `window`; the completion runs on the main queue with the
    /// answer, after this call has returned.
    void beginSheetModalForWindow(const NSWindow& window,
                                  std::function<void(NSModalResponse)> completion);
    /// The chosen file after an OK answer; none otherwise.
    const std::optional<std::string>& URL() const { return url_; }

  protected:
    NSSavePanel() = default;

  private:
    NSModalResponse run(std::optional<long> sheetOf);

    std::optional<std::string> url_;
};

class NSOpenPanel : public NSSavePanel {
  public:
    static std::shared_ptr<NSOpenPanel> openPanel();

    bool canChooseFiles = true;
    bool canChooseDirectories = false;
    bool allowsMultipleSelection = false;

    /// The chosen files after an OK answer; empty otherwise.
    std::vector<std::string> URLs() const;

  private:
    NSOpenPanel() = default;
};
