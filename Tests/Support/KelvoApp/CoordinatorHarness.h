#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KelvoApp/Coordinator/Coordinator.h"
#include "Support/Base/ScopedEnvironment.h"
#include "Support/Base/TemporaryFolder.h"

namespace kelvo {

/// The process around a coordinator started in a suite: a temporary home and test folder, the
/// environment, standard output and error in files the test reads, standard input on a pipe,
/// and an exit that is recorded instead of ending the process. The manual clock must outlive
/// it.
class CoordinatorHarness {
  public:
    CoordinatorHarness();
    ~CoordinatorHarness();
    CoordinatorHarness(const CoordinatorHarness&) = delete;
    CoordinatorHarness& operator=(const CoordinatorHarness&) = delete;

    /// Completes the process (environment, streams, exit), writes `initialConfig` when there
    /// is no configuration file yet, and runs start-up; false when it ended the process.
    bool startCoordinator(CoordinatorProcess process);
    /// Ends standard input, waits for the test mode's reader and drops the coordinator; a
    /// suite calls it before the platform and taps it lent the coordinator go away.
    void stopCoordinator();

    /// The log's lines without their timestamps, as far as they were written.
    std::vector<std::string> logLines();
    /// The log's lines since the last `markLog`.
    std::vector<std::string> newLogLines();
    void markLog();
    /// The log lines since the mark without the state text and the layout details.
    std::vector<std::string> decisions();
    /// The chord the running coordinator's key map binds to the command; none fails the test.
    Chord chordFor(const Command& command) const;
    std::string standardOutput() const;
    std::string standardError() const;
    int standardErrorDescriptor() const { return error_; }

    testing::TemporaryFolder folder;
    std::map<std::string, std::string> environment;
    std::optional<int> exitStatus;
    std::unique_ptr<Coordinator> coordinator;
    Config initialConfig;
    /// When true, start-up runs in test mode in `folder`.
    bool testMode = true;

  private:
    int output_ = -1;
    int error_ = -1;
    int inputRead_ = -1;
    int inputWrite_ = -1;
    std::size_t mark_ = 0;
    /// The user's folders (preferences, logs, crash reports) follow HOME into `folder`.
    testing::ScopedEnvironment home_{"HOME", folder.path().string()};
};

}  // namespace kelvo
