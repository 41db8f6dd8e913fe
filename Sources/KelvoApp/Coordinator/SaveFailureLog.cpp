#include "KelvoApp/Coordinator/SaveFailureLog.h"

#include <string>

#include "Base/Foundation/DispatchQueue.h"
#include "KelvoApp/Coordinator/ProcessLog.h"
#include "KelvoApp/Settings/SettingsModel.h"
#include "KelvoCore/Config/ConfigStore.h"

namespace kelvo {

SaveFailureLog::SaveFailureLog(const ConfigStore& store, SettingsModel& model,
                               const ProcessLog& log)
    : store_(store),
      model_(model),
      log_(log),
      reportedWrites_(store.writeCount()),
      alive_(std::make_shared<SaveFailureLog*>(this)),
      subscription_(model.subscribe([this] { reportSoon(); })) {}

// The model tells its observers before a value changes, so the report waits for the change.
void SaveFailureLog::reportSoon() {
    if (reportPosted_) return;
    reportPosted_ = true;
    DispatchQueue::main().async([weak = std::weak_ptr(alive_)] {
        const auto alive = weak.lock();
        if (!alive) return;
        (*alive)->reportPosted_ = false;
        (*alive)->report();
    });
}

void SaveFailureLog::report() {
    if (store_.writeCount() == reportedWrites_) return;
    reportedWrites_ = store_.writeCount();
    const std::optional<std::string>& error = model_.writeError.get();
    if (!error) return;
    log_.log(std::string(prefix) + store_.url().string() + ": " + *error);
}

}  // namespace kelvo
