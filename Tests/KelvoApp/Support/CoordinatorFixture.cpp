#include "KelvoApp/Support/CoordinatorFixture.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "KelvoApp/Input/FocusBorder.h"
#include "KelvoApp/Support/DecisionLog.h"
#include "KelvoCore/JSON/JSONWriter.h"
#include "Platform/Foundation/FileSystem.h"

namespace kelvo {

namespace {

std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

/// Timestamps are 23 characters and two blanks.
constexpr std::size_t stampLength = 25;

}  // namespace

void FakeEventSource::start() {
    started = true;
    if (recordFD_ >= 0) writeAll(recordFD_, "[events] start\n");
}

void CoordinatorFixture::recordOnStandardError() {
    environment["KELVO_LOG"] = "1";
    platform.recordFD = error_;
    taps.recordFD = error_;
}

CoordinatorFixture::CoordinatorFixture() {
    if (const char* home = std::getenv("HOME")) home_ = home;
    ::setenv("HOME", folder.path().c_str(), 1);
    platform.screenList = {FakeAppPlatform::screen(1600, 1000)};
    output_ = ::open((folder / "stdout").c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
    error_ = ::open((folder / "stderr").c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
    int pipeEnds[2];
    if (::pipe(pipeEnds) == 0) {
        inputRead_ = pipeEnds[0];
        inputWrite_ = pipeEnds[1];
    }
    initialConfig = Config::defaults();
    initialConfig.guideSeen = true;
    bridge = std::make_shared<FakeCoordinatorBridge>(initialConfig);
}

CoordinatorFixture::~CoordinatorFixture() {
    // The reader of test mode ends at the end of its input and queues a termination, which
    // finds the coordinator gone.
    if (inputWrite_ >= 0) ::close(inputWrite_);
    if (coordinator && coordinator->testModeReader) {
        coordinator->testModeReader->waitUntilFinished(10);
    }
    coordinator.reset();
    clock.runUntilIdle();
    if (inputRead_ >= 0) ::close(inputRead_);
    ::close(output_);
    ::close(error_);
    if (home_) ::setenv("HOME", home_->c_str(), 1);
}

FakeWindowBridge::Window& CoordinatorFixture::window(std::uint32_t raw, const CGRect& frame,
                                                     const std::string& bundleID) {
    return bridge->fake.add(WindowID(raw), frame, bundleID);
}

bool CoordinatorFixture::start() {
    if (testMode) environment["KELVO_TEST_CONFIG_DIR"] = folder.path().string();
    const std::filesystem::path configURL =
        testMode ? folder / "config.json" : folder / ".config" / "kelvo" / "config.json";
    if (!std::filesystem::exists(configURL)) {
        std::filesystem::create_directories(configURL.parent_path());
        writeAtomically(configURL, JSONWriter::write(JSONCoding<Config>::encode(initialConfig),
                                                     JSONWriter::prettyPrinted()));
    }
    CoordinatorProcess process;
    process.platform = &platform;
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
    process.taps = &taps;
    process.makeBridge = [this](const Config& config) {
        bridge->setConfig(config);
        return bridge;
    };
    process.makeEvents = [this](Coordinator&) {
        auto made = std::make_unique<FakeEventSource>(platform.recordFD);
        events = made.get();
        return made;
    };
    coordinator = std::make_unique<Coordinator>(std::move(process));
    coordinator->start();
    clock.runUntilIdle();
    return !exitStatus;
}

std::vector<std::string> CoordinatorFixture::logLines() {
    if (coordinator && coordinator->logFile) coordinator->logFile->flush();
    std::vector<std::string> lines;
    const std::filesystem::path log =
        testMode ? folder / "kelvo.log" : folder / "Library" / "Logs" / "Kelvo" / "kelvo.log";
    std::istringstream text(contents(log));
    for (std::string line; std::getline(text, line);) {
        lines.push_back(line.size() >= stampLength ? line.substr(stampLength) : line);
    }
    return lines;
}

std::vector<std::string> CoordinatorFixture::newLogLines() {
    std::vector<std::string> lines = logLines();
    return std::vector<std::string>(
        lines.begin() + static_cast<std::ptrdiff_t>(std::min(mark_, lines.size())), lines.end());
}

void CoordinatorFixture::markLog() {
    mark_ = logLines().size();
}

bool CoordinatorFixture::logged(const std::string& line) {
    for (const std::string& l : newLogLines()) {
        if (l == line) return true;
    }
    return false;
}

std::string CoordinatorFixture::standardOutput() const {
    return contents(folder / "stdout");
}

std::string CoordinatorFixture::standardError() const {
    return contents(folder / "stderr");
}

void CoordinatorFixture::startWithTwoWindows() {
    window(1, CGRect(0, 25, 800, 600));
    window(2, CGRect(100, 100, 700, 500), "com.example.other");
    ASSERT_TRUE(start());
    settle();
    markLog();
}

std::vector<std::string> CoordinatorFixture::decisions() {
    return decisionLines(newLogLines());
}

void CoordinatorFixture::adoptByEvent(std::uint32_t raw, const std::string& bundleID) {
    coordinator->eventCreated(WindowID(raw), bundleID, std::nullopt);
    settle();
}

}  // namespace kelvo
