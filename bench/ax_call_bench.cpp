// The cost of one Accessibility read and one write against the in-process desktop: the floor
// under every layout pass, which reads and writes each window's frame.

#include <benchmark/benchmark.h>

#include <memory>

#include "Base/Foundation/ManualClock.h"
#include "Platform/Accessibility/AXConstants.h"
#include "Platform/Accessibility/AXUIElement.h"
#include "Platform/Accessibility/AXValue.h"
#include "Support/Simulator/InstalledDesktop.h"

namespace {

struct OneWindowDesktop {
    explicit OneWindowDesktop(bool recordsCalls) {
        desktop->setRecordsAccessCalls(recordsCalls);
        const auto number =
            installed.open(installed.launch("com.example.app"), CGRect(100, 100, 800, 600));
        window = std::make_shared<const AXUIElement>(desktop->window(number)->element);
        AXUIElementSetMessagingTimeout(window, 0.25f);
    }

    ManualClock clock;
    kelvo::InstalledDesktop installed{CGRect(0, 0, 1440, 900)};
    std::shared_ptr<sim::Desktop> desktop = installed.desktop;
    AXUIElementRef window;
};

void BM_ReadPosition(benchmark::State& state) {
    OneWindowDesktop setup(state.range(0) != 0);
    for (auto _ : state) {
        CFTypeRef value;
        AXUIElementCopyAttributeValue(setup.window, kAXPositionAttribute, &value);
        CGPoint point;
        AXValueGetValue(CFCast<AXValue>(value), kAXValueCGPointType, &point);
        benchmark::DoNotOptimize(point);
    }
}
BENCHMARK(BM_ReadPosition)->Arg(0)->Arg(1)->ArgName("recorded");

void BM_WritePosition(benchmark::State& state) {
    OneWindowDesktop setup(state.range(0) != 0);
    double x = 0;
    for (auto _ : state) {
        const CGPoint point{x, 30};
        x = x > 500 ? 0 : x + 1;
        benchmark::DoNotOptimize(AXUIElementSetAttributeValue(
            setup.window, kAXPositionAttribute, AXValueCreate(kAXValueCGPointType, &point)));
        if (state.range(0) != 0) setup.desktop->clearAccessCalls();
    }
}
BENCHMARK(BM_WritePosition)->Arg(0)->Arg(1)->ArgName("recorded");

}  // namespace
