#include "Calibration.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <utility>
#include <vector>

namespace kelvo::bench {

// Marsaglia's xorshift, so that the numbers do not depend on a library's generator.
std::uint32_t Calibration::nextRandom(std::uint32_t x) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    return x;
}

void Calibration::siftDown(std::vector<std::uint32_t>& values, std::size_t root, std::size_t end) {
    while (2 * root + 1 < end) {
        std::size_t child = 2 * root + 1;
        if (child + 1 < end && values[child] < values[child + 1]) ++child;
        if (!(values[root] < values[child])) return;
        std::swap(values[root], values[child]);
        root = child;
    }
}

// A heap sort of our own, so that a library's sort changing does not change the work.
void Calibration::heapSort(std::vector<std::uint32_t>& values) {
    const std::size_t count = values.size();
    for (std::size_t start = count / 2; start-- > 0;)
        siftDown(values, start, count);
    for (std::size_t end = count; end > 1; --end) {
        std::swap(values[0], values[end - 1]);
        siftDown(values, 0, end - 1);
    }
}

// Square roots that converge: the rounded result is the same on every IEEE machine.
std::uint64_t Calibration::rootsChecksum() {
    std::uint64_t sum = 0;
    for (std::uint32_t i = 1; i <= roots; ++i) {
        double y = i;
        for (int step = 0; step < newtonSteps; ++step)
            y = 0.5 * (y + i / y);
        sum += static_cast<std::uint64_t>(std::lround(y * 1000));
    }
    return sum;
}

std::uint64_t Calibration::round() {
    std::vector<std::uint32_t> values(sortedCount);
    std::uint32_t x = seed;
    for (std::uint32_t& value : values)
        value = x = nextRandom(x);
    heapSort(values);
    std::uint64_t sum = 0;
    for (const std::uint32_t value : values)
        sum = sum * 31 + value;
    return sum + rootsChecksum();
}

std::optional<double> Calibration::medianMilliseconds(int rounds) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        if (round() != checksum) return std::nullopt;
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    if (times.empty()) return std::nullopt;
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

double Calibration::loadOverOneMinute() {
    std::ifstream file("/proc/loadavg");
    double one = 0;
    return file >> one ? one : 0;
}

}  // namespace kelvo::bench
