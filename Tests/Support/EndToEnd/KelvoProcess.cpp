#include "Support/EndToEnd/KelvoProcess.h"

#include "KelvoCore/Wire/WireLine.h"
#include "Support/Base/TestFiles.h"
#include "Support/KelvoAX/LogMessages.h"

namespace kelvo::testing {

KelvoProcess::KelvoProcess(const std::string& program, const Options& options,
                           const std::filesystem::path& home)
    : testFolder_(options.testFolder), standardErrorFile_(home / "kelvo.stderr") {
    std::filesystem::create_directories(home);
    if (testFolder_) std::filesystem::create_directories(*testFolder_);
    std::map<std::string, std::string> environment = options.desktop;
    // The user's folders (preferences, logs, crash reports) follow HOME, so a run outside
    // test mode stays inside the test's folder as well.
    environment["HOME"] = home.string();
    if (testFolder_) environment["KELVO_TEST_CONFIG_DIR"] = testFolder_->string();
    for (const auto& [name, value] : options.environment)
        environment[name] = value;
    // The shell only sends standard error to a file and then becomes Kelvo, keeping its pid,
    // so the process the test signals and waits for is Kelvo itself.
    process_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"/bin/sh", "-c", "exec \"$0\" 2>\"$1\"", program,
                                 standardErrorFile_.string()},
        environment);
}

std::optional<std::string> KelvoProcess::exchange(const std::string& line) {
    // Replies come strictly in order, so after one that never came no later reply can be
    // matched to its request; failing at once keeps a hung process from costing every wait.
    if (unanswered_ || !process_->writeLine(line)) return std::nullopt;
    auto reply = process_->readLine();
    if (!reply) unanswered_ = true;
    return reply;
}

KelvoTestReply KelvoProcess::request(const KelvoTestRequest& request) {
    const auto reply = exchange(*WireLine::encode(request));
    if (!reply) return KelvoTestReply::failure("no reply");
    auto decoded = WireLine::decode<KelvoTestReply>(*reply);
    return decoded ? *decoded : KelvoTestReply::failure("unreadable reply: " + *reply);
}

std::optional<int> KelvoProcess::quit() {
    const auto reply = exchange(*WireLine::encode(KelvoTestRequest::quit()));
    if (!reply || *reply != R"({"ok":true})") return std::nullopt;
    return process_->waitForExit();
}

std::vector<std::string> KelvoProcess::logMessages() const {
    if (!testFolder_) return {};
    return kelvo::testing::logMessages(*testFolder_ / "kelvo.log");
}

std::optional<std::size_t> KelvoProcess::waitForLog(const std::string& text,
                                                    std::size_t from) const {
    return waitForMessage(from,
                          [&](const std::string& m) { return m.find(text) != std::string::npos; });
}

std::optional<std::size_t> KelvoProcess::waitForLine(const std::string& message,
                                                     std::size_t from) const {
    return waitForMessage(from, [&](const std::string& m) { return m == message; });
}

std::optional<std::size_t> KelvoProcess::waitForMessage(
    std::size_t from, const std::function<bool(const std::string&)>& matches) const {
    std::optional<std::size_t> found;
    eventually([&] {
        if (unanswered_) return true;
        const auto messages = logMessages();
        for (std::size_t i = from; i < messages.size(); ++i) {
            if (matches(messages[i])) {
                found = i;
                return true;
            }
        }
        return false;
    });
    return found;
}

std::string KelvoProcess::standardError() const {
    return fileContents(standardErrorFile_);
}

}  // namespace kelvo::testing
