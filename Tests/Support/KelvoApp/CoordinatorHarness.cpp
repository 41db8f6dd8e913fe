#include "Support/KelvoApp/CoordinatorHarness.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "Base/Foundation/FileSystem.h"
#include "Base/Foundation/ManualClock.h"
#include "Base/JSON/JSONWriter.h"
#include "KelvoApp/Input/HotkeyService.h"
#include "Support/Base/TestFiles.h"
#include "Support/KelvoAX/LogMessages.h"
#include "Support/KelvoApp/DecisionLog.h"

namespace kelvo {

CoordinatorHarness::CoordinatorHarness() {
    output_ = ::open((folder / "stdout").c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
    error_ = ::open((folder / "stderr").c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
    int pipeEnds[2];
    if (::pipe(pipeEnds) == 0) {
        inputRead_ = pipeEnds[0];
        inputWrite_ = pipeEnds[1];
    }
    initialConfig = Config::defaults();
    initialConfig.guideSeen = true;
}

void CoordinatorHarness::stopCoordinator() {
    // The reader of test mode ends at the end of its input and queues a termination, which
    // finds the coordinator gone.
    if (inputWrite_ >= 0) ::close(inputWrite_);
    inputWrite_ = -1;
    if (coordinator) coordinator->startup.waitForTestModeReader(10);
    coordinator.reset();
    if (ManualClock* clock = ManualClock::active()) clock->runUntilIdle();
}

CoordinatorHarness::~CoordinatorHarness() {
    stopCoordinator();
    if (inputRead_ >= 0) ::close(inputRead_);
    ::close(output_);
    ::close(error_);
}

bool CoordinatorHarness::startCoordinator(CoordinatorProcess process) {
    if (testMode) environment["KELVO_TEST_CONFIG_DIR"] = folder.path().string();
    const std::filesystem::path configURL =
        testMode ? folder / "config.json" : folder / ".config" / "kelvo" / "config.json";
    if (!std::filesystem::exists(configURL)) {
        std::filesystem::create_directories(configURL.parent_path());
        writeAtomically(configURL, JSONWriter::write(JSONCoding<Config>::encode(initialConfig),
                                                     JSONWriter::prettyPrinted()));
    }
    process.environment = [this](const std::string& name) -> std::optional<std::string> {
        const auto found = environment.find(name);
        if (found == environment.end()) return std::nullopt;
        return found->second;
    };
    process.standardInput = inputRead_;
    process.standardOutput = output_;
    process.standardError = error_;
    process.exit = [this](int status) {
        if (!exitStatus) exitStatus = status;
    };
    coordinator = std::make_unique<Coordinator>(std::move(process));
    coordinator->start();
    if (ManualClock* clock = ManualClock::active()) clock->runUntilIdle();
    return !exitStatus;
}

std::vector<std::string> CoordinatorHarness::logLines() {
    if (coordinator) coordinator->processLog.flush();
    return testing::logMessages(testMode ? folder / "kelvo.log"
                                         : folder / "Library" / "Logs" / "Kelvo" / "kelvo.log");
}

std::vector<std::string> CoordinatorHarness::newLogLines() {
    std::vector<std::string> lines = logLines();
    const auto from = static_cast<std::ptrdiff_t>(std::min(mark_, lines.size()));
    return std::vector<std::string>(lines.begin() + from, lines.end());
}

void CoordinatorHarness::markLog() {
    mark_ = logLines().size();
}

std::vector<std::string> CoordinatorHarness::decisions() {
    return decisionLines(newLogLines());
}

Chord CoordinatorHarness::chordFor(const Command& command) const {
    for (const auto& [chord, bound] : coordinator->commands.hotkeys().keymap.table()) {
        if (bound == command) return chord;
    }
    ADD_FAILURE() << "no chord for " << command.description();
    return Chord{};
}

std::string CoordinatorHarness::standardOutput() const {
    return testing::fileContents(folder / "stdout");
}

std::string CoordinatorHarness::standardError() const {
    return testing::fileContents(folder / "stderr");
}

}  // namespace kelvo
