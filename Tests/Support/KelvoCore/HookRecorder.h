#pragma once

#include <string>
#include <vector>

#include "KelvoCore/Store/WorkspaceStore.h"
#include "Support/Base/Describe.h"

namespace kelvo {

/// Installs every hook of a store and writes each call as one line, in the order fired, with
/// its arguments: "onLayoutPass(2, 0)", "onGaveUp(win#4, com.example.app, nil)".
class HookRecorder {
  public:
    void install(WorkspaceStore& store);

    const std::vector<std::string>& lines() const { return lines_; }
    /// The lines of one hook only.
    std::vector<std::string> of(const std::string& hook) const;
    void clear() { lines_.clear(); }

  private:
    void note(std::string line) { lines_.push_back(std::move(line)); }
    std::vector<std::string> lines_;
};

}  // namespace kelvo
