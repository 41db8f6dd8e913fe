// The log file's part of a logged line: formatting, gathering and writing, with the disk
// behind it and nothing of the system around it.

#include <benchmark/benchmark.h>

#include <string>

#include "KelvoAX/Log/LogFile.h"
#include "Support/Base/TemporaryFolder.h"

namespace {

// A typical decision line of the coordinator.
const std::string message =
    "  Safari win#812 adopted on desktop 2 (bsp), frame (0,30) 1680x1050 - tiled";

// Lines per second through the buffered log as the program runs it: the caller formats the
// time and hands the line over; the log's own thread gathers and writes the chunks (rotating
// at the 4 MiB limit). The closing flush is timed too, so every line counted reached the disk.
void BM_LogFileWrite(benchmark::State& state) {
    const kelvo::testing::TemporaryFolder folder;
    const kelvo::LogFile log(folder / "kelvo.log", 4194304);
    for (auto _ : state)
        log.write(message);
    log.flush();
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(message.size() + 26));
}
BENCHMARK(BM_LogFileWrite)->UseRealTime();

// Several threads logging at once, as the main thread and the event stream's thread do.
void BM_LogFileWriteFromThreads(benchmark::State& state) {
    static const kelvo::testing::TemporaryFolder* folder = nullptr;
    static const kelvo::LogFile* log = nullptr;
    if (state.thread_index() == 0) {
        folder = new kelvo::testing::TemporaryFolder();
        log = new kelvo::LogFile(*folder / "kelvo.log", 4194304);
    }
    for (auto _ : state)
        log->write(message);
    if (state.thread_index() == 0) {
        log->flush();
        delete log;
        delete folder;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LogFileWriteFromThreads)->Threads(4)->UseRealTime();

}  // namespace
