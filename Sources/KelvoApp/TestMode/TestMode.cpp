#include "KelvoApp/TestMode/TestMode.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>

#include "Base/Foundation/ConditionVariable.h"
#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/FileSystem.h"
#include "Base/Foundation/Mutex.h"
#include "Base/Foundation/MutexLock.h"
#include "Base/Foundation/NSThread.h"
#include "KelvoAX/Log/LogFile.h"
#include "KelvoApp/Input/HotkeyService.h"
#include "KelvoApp/TestMode/RequestLines.h"
#include "KelvoCore/Config/Config.h"
#include "KelvoCore/Store/WorkspaceStore.h"
#include "KelvoCore/Wire/WireLine.h"

namespace kelvo {

namespace {

/// Counts the requests handed to the main thread and the replies written for them, so that a
/// queued termination can wait until the reply of the request that queued it is out: the
/// process must not end between producing the "quit" reply and writing it.
class ReplyLedger {
  public:
    /// On the main thread, inside the hand-off.
    void handled() {
        MutexLock lock(mutex_);
        ++handled_;
    }
    /// On the reader thread, once the reply of a handed-off request is written.
    void written() {
        {
            MutexLock lock(mutex_);
            ++written_;
        }
        changed_.notifyAll();
    }
    /// On the main thread: no request handed off can be pending then, so this ends as soon as
    /// the reader has written what it holds.
    void awaitWritten() {
        MutexLock lock(mutex_);
        changed_.wait(mutex_, [this]() REQUIRES(mutex_) { return written_ >= handled_; });
    }

  private:
    Mutex mutex_;
    ConditionVariable changed_;
    std::uint64_t handled_ GUARDED_BY(mutex_) = 0;
    std::uint64_t written_ GUARDED_BY(mutex_) = 0;
};

}  // namespace

std::optional<std::filesystem::path> TestMode::directoryFrom(
    const std::optional<std::string>& value) {
    if (!value) return std::nullopt;
    if (value->empty()) return std::filesystem::current_path();
    return std::filesystem::absolute(*value);
}

const std::optional<std::filesystem::path>& TestMode::directory() {
    static const std::optional<std::filesystem::path> decided = [] {
        const char* value = std::getenv("KELVO_TEST_CONFIG_DIR");
        return directoryFrom(value ? std::optional<std::string>(value) : std::nullopt);
    }();
    return decided;
}

std::filesystem::path TestMode::configURL(const std::optional<std::filesystem::path>& directory) {
    return directory ? *directory / "config.json" : Config::defaultURL();
}

std::filesystem::path TestMode::logURL(const std::optional<std::filesystem::path>& directory) {
    return directory ? *directory / "kelvo.log" : LogFile::standardURL();
}

std::optional<std::string> TestMode::refusal(const std::vector<RunningApplication>& running,
                                             int ownPID) {
    std::string entries;
    // The list is in launch order: only an instance started before this one counts, so that
    // of two started together the older runs and the younger refuses.
    const bool listed =
        std::any_of(running.begin(), running.end(),
                    [ownPID](const RunningApplication& app) { return app.pid == ownPID; });
    for (const RunningApplication& app : running) {
        if (listed && app.pid == ownPID) break;
        if (app.pid == ownPID || app.terminated) continue;
        const bool matches =
            app.bundleID ? *app.bundleID == bundleIdentifier
                         : app.executableURL && app.executableURL->filename() == executableName;
        if (!matches) continue;
        const std::string path = app.executableURL ? app.executableURL->string() : "?";
        entries += (entries.empty() ? "" : ", ") + path + " (pid " + std::to_string(app.pid) + ")";
    }
    if (entries.empty()) return std::nullopt;
    return "kelvo: test mode refused — another Kelvo is running: " + entries + "\n";
}

bool TestMode::prepare(const std::optional<std::filesystem::path>& directory,
                       const AppPlatform& platform, int standardError,
                       const std::function<void(int)>& exit) {
    if (!directory) return true;
    const auto line = refusal(platform.runningApplications(), platform.processIdentifier());
    if (!line) return true;
    // One write, so that the line cannot be interleaved with another process's.
    writeAll(standardError, *line);
    exit(3);
    return false;
}

std::optional<NSThread> TestMode::start(const std::optional<std::filesystem::path>& directory,
                                        HotkeyService& hotkeys, WorkspaceStore& store,
                                        Focused focused, int pid, std::function<void()> terminate,
                                        int standardInput, int standardOutput) {
    if (!directory) return std::nullopt;
    auto ledger = std::make_shared<ReplyLedger>();
    auto afterReplies = [ledger, terminate = std::move(terminate)] {
        ledger->awaitWritten();
        terminate();
    };
    NSThread reader([&hotkeys, &store, focused = std::move(focused), pid, ledger,
                     terminate = std::move(afterReplies), standardInput, standardOutput] {
        RequestLines lines(standardInput);
        bool handedOff = false;
        const auto onMain = [&](const KelvoTestRequest& request) {
            KelvoTestReply reply;
            DispatchQueue::main().sync([&] {
                ledger->handled();
                reply = handle(request, hotkeys, store, focused, pid, terminate);
            });
            handedOff = true;
            return reply;
        };
        while (const auto line = lines.next()) {
            handedOff = false;
            if (line->overlong) {
                // Told by its first bytes: echoing the whole line would be megabytes.
                send(
                    KelvoTestReply::failure(overlongText(lines.maximumLength()) + line->text + "…"),
                    standardOutput);
                continue;
            }
            if (const auto reply = answer(line->text, onMain)) send(*reply, standardOutput);
            if (handedOff) ledger->written();
        }
        DispatchQueue::main().async(terminate);
    });
    reader.setName(readerThreadName);
    reader.start();
    return reader;
}

std::optional<KelvoTestReply> TestMode::answer(
    const std::string& line, const std::function<KelvoTestReply(const KelvoTestRequest&)>& onMain) {
    if (line.empty()) return std::nullopt;
    const auto request = WireLine::decode<KelvoTestRequest>(line);
    if (!request) return KelvoTestReply::failure(std::string(unreadableText) + line);
    return onMain(*request);
}

KelvoTestReply TestMode::handle(const KelvoTestRequest& request, HotkeyService& hotkeys,
                                WorkspaceStore& store, const Focused& focused, int pid,
                                const std::function<void()>& terminate) {
    KelvoTestReply reply;
    reply.ok = true;
    if (request.op == "ping") {
        reply.pid = pid;
        return reply;
    }
    if (request.op == "command") {
        const auto command = request.command ? request.command->command() : std::nullopt;
        if (!command) {
            return KelvoTestReply::failure("no such command: " +
                                           (request.command ? request.command->name : "nil"));
        }
        // The dispatcher would pass over a desktop that does not exist without a word.
        if (const auto refusal = missingDesktop(*request.command, store.desktopCount()))
            return KelvoTestReply::failure(*refusal);
        if (hotkeys.onCommand) hotkeys.onCommand(*command);
        return reply;
    }
    if (request.op == "state") {
        std::vector<KelvoTestWindowRecord> records;
        const auto ids = request.ids.value_or(std::vector<std::uint32_t>{});
        records.reserve(ids.size());
        // Each desktop's layout once per request, however many ids ask about it.
        std::map<int, std::map<WindowID, CGRect>> layouts;
        for (std::uint32_t raw : ids) {
            const WindowID id(raw);
            KelvoTestWindowRecord record;
            record.id = raw;
            if (const auto desktop = store.desktop(id)) {
                record.desktop = *desktop;
                auto layout = layouts.find(*desktop);
                if (layout == layouts.end())
                    layout = layouts.emplace(*desktop, store.layout(*desktop)).first;
                if (const auto found = layout->second.find(id); found != layout->second.end()) {
                    record.frame = WireRect(found->second);
                }
            }
            record.floating = store.isFloating(id);
            records.push_back(record);
        }
        reply.activeDesktop = store.activeDesktop();
        if (const auto window = focused ? focused() : std::nullopt) reply.focused = window->raw;
        reply.windows = std::move(records);
        reply.description = store.stateDescription();
        return reply;
    }
    if (request.op == "quit") {
        DispatchQueue::main().async(terminate);
        return reply;
    }
    return KelvoTestReply::failure("unknown op " + request.op);
}

std::string TestMode::overlongText(std::size_t limit) {
    return "request too long (more than " + std::to_string(limit) + " bytes): ";
}

std::optional<std::string> TestMode::missingDesktop(const WireCommand& command, int desktopCount) {
    const auto made = command.command();
    if (!made || !made->desktop() || !command.desktop) return std::nullopt;
    const std::int64_t desktop = *command.desktop;
    if (desktop >= 1 && desktop <= desktopCount) return std::nullopt;
    return "no such desktop: " + std::to_string(desktop) + " (the desktops are 1 to " +
           std::to_string(desktopCount) + ")";
}

void TestMode::send(const KelvoTestReply& reply, int standardOutput) {
    const auto line = WireLine::encode(reply);
    if (!line) return;
    // Unchecked: a harness that closed its end simply gets nothing.
    (void)writeAll(standardOutput, *line + "\n");
}

}  // namespace kelvo
