// Feeds every file of the folders (or files) named on the command line to a fuzz target once,
// in name order, without libFuzzer's engine: the sanitised test build replays the corpora and
// the kept findings this way, with any compiler. Exits with 1 if a folder is missing or empty;
// a fault in the target stops the run through the sanitizers.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> Inputs(const std::filesystem::path& where) {
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_regular_file(where))
        files.push_back(where);
    else if (std::filesystem::is_directory(where))
        for (const auto& entry : std::filesystem::recursive_directory_iterator(where))
            if (entry.is_regular_file())
                files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int main(int argc, char** argv) {
    std::size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const auto files = Inputs(argv[i]);
        if (files.empty()) {
            std::fprintf(stderr, "%s: nothing to replay\n", argv[i]);
            return 1;
        }
        for (const auto& file : files) {
            std::ifstream in(file, std::ios::binary);
            const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
            // Printed first, so the file at fault is named when the sanitizers stop the run.
            std::fprintf(stderr, "%s (%zu bytes)\n", file.c_str(), bytes.size());
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size());
            ++replayed;
        }
    }
    std::fprintf(stderr, "replayed %zu inputs\n", replayed);
    return replayed > 0 ? 0 : 1;
}
