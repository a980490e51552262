// A small stand-in for libFuzzer where clang is not used: feeds the target a
// bounded, reproducible series of inputs made from the seed corpus (mutated)
// and from random bytes. Sanitizers turn any out-of-bounds access into a
// failure of the run.
//
//   FooFuzz --runs=N [--seed=S] [--corpus=DIR] [FILE...]
//
// Files named on the command line are run once each, as libFuzzer does.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<Bytes> LoadCorpus(const std::string& folder) {
    std::vector<Bytes> corpus;
    std::error_code ec;
    if (folder.empty() || !std::filesystem::is_directory(folder, ec)) return corpus;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());  // same order on every machine
    for (const auto& file : files) corpus.push_back(ReadFile(file));
    return corpus;
}

// Bytes that matter to the readers under test: separators, line ends, the
// code page 932 lead and trail ranges, brackets and markers.
uint8_t InterestingByte(std::mt19937& rng) {
    static const uint8_t kBytes[] = {0x00, 0x0A, 0x0D, 0x1A, 0x20, 0x2F, 0x3B, 0x3D, 0x5B, 0x5D,
                                     0x5C, 0x7C, 0x2C, 0x3A, 0x81, 0x9F, 0xE0, 0xFC, 0x40, 0x7E,
                                     0x80, 0xFD, 0xFF, 0xA0, 0xB6, 0xDE, 0xDF, 0x22, 0x3C, 0x3E};
    return kBytes[rng() % sizeof kBytes];
}

void Mutate(Bytes& data, std::mt19937& rng) {
    int steps = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < steps; ++i) {
        size_t pos = data.empty() ? 0 : rng() % (data.size() + 1);
        switch (rng() % 6) {
            case 0:  // flip a bit
                if (!data.empty()) data[pos % data.size()] ^= static_cast<uint8_t>(1u << (rng() % 8));
                break;
            case 1:  // insert an interesting byte
                data.insert(data.begin() + static_cast<std::ptrdiff_t>(pos), InterestingByte(rng));
                break;
            case 2:  // erase a run
                if (!data.empty()) {
                    size_t at = pos % data.size();
                    size_t len = std::min<size_t>(data.size() - at, 1 + rng() % 16);
                    data.erase(data.begin() + static_cast<std::ptrdiff_t>(at),
                               data.begin() + static_cast<std::ptrdiff_t>(at + len));
                }
                break;
            case 3:  // repeat a run: long lines and long values
                if (!data.empty()) {
                    size_t at = pos % data.size();
                    size_t len = std::min<size_t>(data.size() - at, 1 + rng() % 32);
                    Bytes run(data.begin() + static_cast<std::ptrdiff_t>(at),
                              data.begin() + static_cast<std::ptrdiff_t>(at + len));
                    size_t times = 1 + rng() % 40;
                    for (size_t t = 0; t < times; ++t) data.insert(data.begin() + static_cast<std::ptrdiff_t>(at), run.begin(), run.end());
                }
                break;
            case 4:  // overwrite with a random byte
                if (!data.empty()) data[pos % data.size()] = static_cast<uint8_t>(rng());
                break;
            default:  // cut the input short
                data.resize(pos);
                break;
        }
    }
}

Bytes RandomInput(std::mt19937& rng) {
    Bytes data(rng() % 600);
    for (auto& byte : data) byte = (rng() % 3 == 0) ? InterestingByte(rng) : static_cast<uint8_t>(rng());
    return data;
}

bool StartsWith(const char* arg, const char* prefix) {
    return std::strncmp(arg, prefix, std::strlen(prefix)) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    long runs = 10000;
    unsigned long seed = 20261206;
    std::string corpusFolder;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        if (StartsWith(argv[i], "--runs="))
            runs = std::strtol(argv[i] + 7, nullptr, 10);
        else if (StartsWith(argv[i], "--seed="))
            seed = std::strtoul(argv[i] + 7, nullptr, 10);
        else if (StartsWith(argv[i], "--corpus="))
            corpusFolder = argv[i] + 9;
        else
            files.emplace_back(argv[i]);
    }
    for (const auto& file : files) {
        Bytes data = ReadFile(file);
        LLVMFuzzerTestOneInput(data.data(), data.size());
    }
    if (!files.empty()) return 0;

    std::vector<Bytes> corpus = LoadCorpus(corpusFolder);
    for (const auto& seedInput : corpus) LLVMFuzzerTestOneInput(seedInput.data(), seedInput.size());

    std::mt19937 rng(static_cast<std::mt19937::result_type>(seed));
    for (long run = 0; run < runs; ++run) {
        Bytes data;
        if (!corpus.empty() && rng() % 4 != 0) {
            data = corpus[rng() % corpus.size()];
            Mutate(data, rng);
        } else {
            data = RandomInput(rng);
        }
        LLVMFuzzerTestOneInput(data.data(), data.size());
    }
    std::printf("%ld inputs (seed %lu, %zu corpus files): no fault\n", runs, seed, corpus.size());
    return 0;
}
