// The main of every fuzz target. FooFuzz --runs=N [--seed=S] [--corpus=DIR] feeds the target the corpus
// files and then a reproducible series of mutated corpus files and random bytes (the bounded run of the
// tests). FooFuzz FILE... feeds it each file once: how afl-fuzz runs it, and how a finding is replayed.

#include "tests/fuzz/FuzzSupport.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

using Bytes = std::vector<uint8_t>;

// Separators, line ends, code page 932 lead and trail bytes, brackets and markers.
static uint8_t InterestingByte(std::mt19937& rng) {
    static constexpr std::string_view kBytes("\0\n\r\x1A /;=[]\\|,:\x81\x9F\xE0\xFC@~\x80\xFD\xFF\xA0\xB6\xDE\xDF\"<>",
                                             30);
    return static_cast<uint8_t>(kBytes[rng() % kBytes.size()]);
}

// One to eight steps: flip a bit, insert a byte, erase a run, repeat a run (long lines), or cut short.
static void Mutate(Bytes& data, std::mt19937& rng) {
    for (unsigned steps = 1 + rng() % 8; steps > 0; --steps) {
        const std::size_t at = rng() % (data.size() + 1), run = std::min<std::size_t>(data.size() - at, 1 + rng() % 32);
        const auto where = data.begin() + static_cast<std::ptrdiff_t>(at);
        const Bytes copy(where, where + static_cast<std::ptrdiff_t>(run));
        const unsigned kind = rng() % 5;
        if (kind == 0 && at < data.size()) data[at] ^= static_cast<uint8_t>(1u << (rng() % 8));
        if (kind == 1) data.insert(where, InterestingByte(rng));
        if (kind == 2) data.erase(where, where + static_cast<std::ptrdiff_t>(std::min<std::size_t>(run, 16)));
        for (unsigned times = kind == 3 ? 1 + rng() % 40 : 0; times > 0; --times)
            data.insert(data.begin() + static_cast<std::ptrdiff_t>(at), copy.begin(), copy.end());
        if (kind == 4) data.resize(at);
    }
}

int main(int argc, char** argv) {
    long runs = 10000;
    unsigned long seed = 20261206;
    std::vector<std::filesystem::path> files;
    bool onlyFiles = false;
    for (const std::string_view arg : std::vector<std::string_view>(argv + 1, argv + argc)) {
        if (!arg.starts_with("--")) files.emplace_back(arg), onlyFiles = true;
        if (arg.starts_with("--runs=")) runs = std::strtol(arg.data() + 7, nullptr, 10);
        if (arg.starts_with("--seed=")) seed = std::strtoul(arg.data() + 7, nullptr, 10);
        if (arg.starts_with("--corpus=") && std::filesystem::is_directory(arg.substr(9)))
            for (const auto& entry : std::filesystem::directory_iterator(arg.substr(9))) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());  // the same order on every machine
    std::vector<Bytes> corpus;
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(corpus.back().data(), corpus.back().size());
    }
    if (onlyFiles) return 0;
    std::mt19937 rng(static_cast<std::mt19937::result_type>(seed));
    for (long run = 0; run < runs; ++run) {
        const bool mutated = !corpus.empty() && rng() % 4 != 0;
        Bytes data = mutated ? corpus[rng() % corpus.size()] : Bytes(rng() % 600);
        if (mutated) Mutate(data, rng);
        else
            for (auto& byte : data) byte = rng() % 3 == 0 ? InterestingByte(rng) : static_cast<uint8_t>(rng());
        LLVMFuzzerTestOneInput(data.data(), data.size());
    }
    std::printf("%ld inputs (seed %lu, %zu corpus files): no fault\n", runs, seed, corpus.size());
    return 0;
}
