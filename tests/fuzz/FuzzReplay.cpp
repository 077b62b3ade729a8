// Runs a fuzz entry point without libFuzzer, as a normal test: every file
// of the seed corpus folders given, then a fixed number of inputs made from
// them by the usual mutations (bytes changed, inserted, removed; pieces of
// two inputs joined), with a fixed seed so that a run can be repeated.
//
//   replay_<target> [--mutations N] FOLDER...
#include <algorithm>
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

using Input = std::vector<uint8_t>;

Input Read(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return Input(std::istreambuf_iterator<char>(in), {});
}

void RunOne(const Input& input)
{
    LLVMFuzzerTestOneInput(input.empty() ? nullptr : input.data(), input.size());
}

Input Mutate(const std::vector<Input>& corpus, std::mt19937& random)
{
    Input out = corpus[random() % corpus.size()];
    static const char* const pieces[] = {"#", "/",   "'",      "BETWEEN", " AND ", "-",  ".",
                                         "9", "Jan", "29/02/", "|",       "*",     "\t", " "};
    const int steps = 1 + int(random() % 4);
    for (int s = 0; s < steps; ++s) {
        const size_t at = out.empty() ? 0 : random() % (out.size() + 1);
        switch (random() % 5) {
        case 0: // change a byte
            if (!out.empty())
                out[at % out.size()] = uint8_t(random());
            break;
        case 1: // insert a byte
            out.insert(out.begin() + long(at), uint8_t(random()));
            break;
        case 2: // remove a run
            if (!out.empty()) {
                const size_t from = at % out.size();
                const size_t n = std::min<size_t>(1 + random() % 4, out.size() - from);
                out.erase(out.begin() + long(from), out.begin() + long(from + n));
            }
            break;
        case 3: { // insert a piece that matters to the parsers
            const char* piece = pieces[random() % std::size(pieces)];
            out.insert(out.begin() + long(at), piece, piece + std::strlen(piece));
            break;
        }
        default: { // the tail of another input
            const Input& other = corpus[random() % corpus.size()];
            if (!other.empty()) {
                const size_t from = random() % other.size();
                out.resize(std::min(out.size(), at));
                out.insert(out.end(), other.begin() + long(from), other.end());
            }
            break;
        }
        }
    }
    if (!out.empty() && random() % 4 == 0)
        out[0] = uint8_t(random()); // another mode of the target
    return out;
}

} // namespace

int main(int argc, char* argv[])
{
    long mutations = 100000;
    std::vector<Input> corpus;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--mutations") == 0 && i + 1 < argc) {
            mutations = std::atol(argv[++i]);
            continue;
        }
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(argv[i]))
            if (entry.is_regular_file())
                files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        for (const auto& file : files)
            corpus.push_back(Read(file));
    }
    if (corpus.empty()) {
        std::fprintf(stderr, "no seed inputs found\n");
        return 2;
    }
    for (const Input& input : corpus)
        RunOne(input);
    std::mt19937 random(20240615);
    for (long i = 0; i < mutations; ++i)
        RunOne(Mutate(corpus, random));
    std::printf("%zu seed inputs and %ld mutations ran without a finding\n", corpus.size(),
                mutations);
    return 0;
}
