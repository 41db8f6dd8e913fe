// The entry point of every benchmark program: Google Benchmark's own, with the calibration
// beside the program's figures. Its median is printed with the context before the first figure
// (where Google Benchmark gives the machine's load then), and the `calibration` row runs after
// the others with the load then, so that each figure of the run can be read as a ratio to it.
// A benchmark that stops with an error fails the program, so that its smoke test notices.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Calibration.h"

namespace {

using kelvo::bench::Calibration;

/// The report the command line asks for (`--benchmark_format`, colours, tabular counters), which
/// also remembers whether a benchmark stopped with an error.
class ErrorNoticingReporter : public benchmark::BenchmarkReporter {
  public:
    explicit ErrorNoticingReporter(benchmark::BenchmarkReporter& display) : display_(display) {}
    bool ReportContext(const Context& context) override { return display_.ReportContext(context); }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            failed_ = failed_ || run.error_occurred;
        display_.ReportRuns(runs);
    }
    void Finalize() override { display_.Finalize(); }
    bool failed() const { return failed_; }

  private:
    benchmark::BenchmarkReporter& display_;
    bool failed_ = false;
};

void calibration(benchmark::State& state) {
    for (auto _ : state) {
        const std::uint64_t checksum = Calibration::round();
        if (checksum != Calibration::checksum) {
            state.SkipWithError("the calibration no longer computes what it did");
            break;
        }
        benchmark::DoNotOptimize(checksum);
    }
    state.counters["load"] = Calibration::loadOverOneMinute();
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    std::string median = "not the calibration's computation";
    if (const auto milliseconds = Calibration::medianMilliseconds(Calibration::roundsBeforeRun)) {
        char text[32];
        std::snprintf(text, sizeof text, "%.3f ms", *milliseconds);
        median = text;
    }
    benchmark::AddCustomContext("calibration", median);
    benchmark::RegisterBenchmark("calibration", calibration)->Unit(benchmark::kMillisecond);
    ErrorNoticingReporter reporter(*benchmark::CreateDefaultDisplayReporter());
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.failed() ? 1 : 0;
}
