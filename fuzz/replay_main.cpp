// Runs a fuzz target once over each given file, and over every file below each
// given folder, without libFuzzer. Every build links the targets with this
// main, the Windows ones included, so the checked-in corpus is a regression
// test everywhere. Arguments that begin with "-" are libFuzzer options and are
// passed over, so one command line serves both kinds of build.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

// ctest passes the corpus as a Unix path even when the test runs under Wine,
// which shows the Unix root as drive Z:.
fs::path HostPath(const std::string& argument)
{
#ifdef _WIN32
    if (argument.size() > 1 && argument[0] == '/' && argument[1] != '/')
        return fs::path("Z:" + argument);
#endif
    return fs::path(argument);
}

bool ReadFile(const fs::path& path, std::vector<uint8_t>& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<fs::path> inputs;
    try {
        for (int i = 1; i < argc; ++i) {
            const std::string argument = argv[i];
            if (argument.empty() || argument[0] == '-')
                continue;
            const fs::path path = HostPath(argument);
            if (fs::is_directory(path)) {
                std::vector<fs::path> found;
                for (const fs::directory_entry& entry : fs::recursive_directory_iterator(path))
                    if (entry.is_regular_file())
                        found.push_back(entry.path());
                std::sort(found.begin(), found.end());
                inputs.insert(inputs.end(), found.begin(), found.end());
            } else if (fs::is_regular_file(path)) {
                inputs.push_back(path);
            } else {
                std::fprintf(stderr, "%s: no such file or folder\n", argument.c_str());
                return 2;
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "cannot list the inputs: %s\n", error.what());
        return 2;
    }
    // An empty corpus would pass without testing anything.
    if (inputs.empty()) {
        std::fprintf(stderr, "usage: %s FILE-OR-FOLDER... (no inputs found)\n", argc > 0 ? argv[0] : "fuzz");
        return 2;
    }

    std::vector<uint8_t> bytes;
    for (const fs::path& input : inputs) {
        if (!ReadFile(input, bytes)) {
            std::fprintf(stderr, "%s: cannot read\n", input.string().c_str());
            return 2;
        }
        // Print first, so that the input of a crash is the last name shown.
        std::fprintf(stderr, "%s\n", input.string().c_str());
        std::fflush(stderr);
        const uint8_t empty = 0;
        LLVMFuzzerTestOneInput(bytes.empty() ? &empty : bytes.data(), bytes.size());
    }
    std::printf("replayed %zu inputs\n", inputs.size());
    return 0;
}
