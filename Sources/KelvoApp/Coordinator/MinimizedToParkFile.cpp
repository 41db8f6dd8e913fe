#include "KelvoApp/Coordinator/MinimizedToParkFile.h"

#include <cmath>

#include "Base/Foundation/FileSystem.h"
#include "Base/JSON/JSONDecoder.h"
#include "Base/JSON/JSONWriter.h"
#include "KelvoApp/Coordinator/StoreWiring.h"

namespace kelvo {

void MinimizedToParkFile::place(const std::filesystem::path& folder, double bootTime) {
    url_ = folder / fileName;
    bootTime_ = bootTime;
}

std::set<WindowID> MinimizedToParkFile::load() const {
    std::set<WindowID> windows;
    try {
        const JSONValue record = JSONNode::parse(readFile(url_));
        const double bootTime = record.at("bootTime").get<double>();
        if (std::fabs(bootTime - bootTime_) >= StoreWiring::sessionBootTolerance) return windows;
        for (const JSONValue& number : record.at("windows")) {
            windows.insert(WindowID(number.get<std::uint32_t>()));
        }
    } catch (const std::exception&) {
        // Missing or damaged: nothing is known to have been minimized by Kelvo.
        windows.clear();
    }
    return windows;
}

void MinimizedToParkFile::save(const std::vector<WindowID>& windows) {
    if (url_.empty() || saved_ == windows) return;
    JSONValue numbers = JSONValue::array();
    for (WindowID w : windows)
        numbers.push_back(w.raw);
    try {
        writeAtomically(url_, JSONWriter::write(JSONValue{{"bootTime", bootTime_},
                                                          {"windows", std::move(numbers)}}) +
                                  "\n");
        saved_ = windows;
    } catch (const std::exception&) {
        // Best effort: the next save tries again.
    }
}

}  // namespace kelvo
