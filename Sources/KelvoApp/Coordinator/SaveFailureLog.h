#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "Platform/SwiftUI/ObservableObject.h"

namespace kelvo {

class ConfigStore;
class ProcessLog;
class SettingsModel;

/// Logs every configuration save that failed. The store's one write hook belongs to the
/// settings model, so this learns of a failure from what the model publishes: after each write
/// attempt the store counts, the model's `writeError`, when it holds one, is the reason.
class SaveFailureLog {
  public:
    static constexpr std::string_view prefix = "could not save the configuration to ";

    /// Watches the model from now on; the store's earlier attempts are not reported.
    SaveFailureLog(const ConfigStore& store, SettingsModel& model, const ProcessLog& log);
    SaveFailureLog(const SaveFailureLog&) = delete;
    SaveFailureLog& operator=(const SaveFailureLog&) = delete;

    /// Logs the newest write attempt's failure once, when it failed; the quit paths call it
    /// right after their flush, since the process ends before a posted report would run.
    void report();

  private:
    void reportSoon();

    const ConfigStore& store_;
    SettingsModel& model_;
    const ProcessLog& log_;
    std::int64_t reportedWrites_;
    bool reportPosted_ = false;
    // Posted reports hold this weakly, so they do nothing once the log is gone.
    std::shared_ptr<SaveFailureLog*> alive_;
    SwiftUI::ObservableObject::Subscription subscription_;
};

}  // namespace kelvo
