// Without libFuzzer, a fuzz target is a program that feeds it every input kept in the folders
// (or files) it is given, once each: the corpus, and every fault once found, stay cases that
// the test build runs under its sanitizers and that any compiler must keep building.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> inputsIn(const std::filesystem::path& place) {
    if (!std::filesystem::is_directory(place)) return {place};
    std::vector<std::filesystem::path> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(place))
        if (entry.is_regular_file()) inputs.push_back(entry.path());
    // In name order, so that a run is the same run everywhere.
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

bool replay(const std::filesystem::path& input) {
    std::ifstream file(input, std::ios::binary);
    if (!file) return false;
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: " << argv[0] << " CORPUS_FOLDER_OR_FILE...\n";
        return 2;
    }
    std::size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& input : inputsIn(argv[i])) {
            if (!replay(input)) {
                std::cerr << "cannot read " << input.string() << "\n";
                return 2;
            }
            ++replayed;
        }
    }
    if (replayed == 0) {
        std::cerr << "no input to replay\n";
        return 2;
    }
    std::cout << replayed << " input(s) replayed\n";
    return 0;
}
