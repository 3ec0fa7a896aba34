// Runs a fuzz target without libFuzzer: the seed inputs first, then a bounded number of
// blind mutations of them from a fixed PRNG seed. Built where the compiler has no libFuzzer
// (the default g++ test build), so CI needs no second compiler; scripts/fuzz builds the real
// thing. An input that fails is written to fuzz-crash-<target> in the current folder.
#include "tests/fuzz/FuzzMutator.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define HX9_HAS_SANITIZER_CALLBACK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HX9_HAS_SANITIZER_CALLBACK 1
#endif
#endif
#ifdef HX9_HAS_SANITIZER_CALLBACK
#include <sanitizer/common_interface_defs.h>
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace
{
using TBytes = std::vector<uint8_t>;

constexpr uint32_t DEFAULT_SEED = 0x48583946;
constexpr size_t DEFAULT_MAX_LENGTH = 4096;
constexpr int EXIT_USAGE = 2;

struct TOptions
{
    long Mutations = 0;
    uint32_t Seed = DEFAULT_SEED;
    size_t MaxLength = DEFAULT_MAX_LENGTH;
    std::vector<std::string> Paths;
};

// What is running now, for the crash handlers: they may only write what is ready.
const TBytes* g_pCurrent = nullptr;
std::string g_CrashPath;
std::string g_CrashNote;

void SaveCurrentInput()
{
    if (!g_pCurrent)
        return;
    const int fd = ::open(g_CrashPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return;
    const ssize_t written = ::write(fd, g_pCurrent->data(), g_pCurrent->size());
    ::close(fd);
    if (written >= 0)
        (void)!::write(STDERR_FILENO, g_CrashNote.data(), g_CrashNote.size());
    g_pCurrent = nullptr;
}

void OnAbort(int signal)
{
    SaveCurrentInput();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void InstallCrashHandlers(const char* program)
{
    g_CrashPath = std::filesystem::absolute("fuzz-crash-" +
                                            std::filesystem::path(program).filename().string())
                      .string();
    g_CrashNote = "fuzz: the failing input is in " + g_CrashPath + "\n";
    std::signal(SIGABRT, OnAbort);
#ifdef HX9_HAS_SANITIZER_CALLBACK
    __sanitizer_set_death_callback(SaveCurrentInput);
#endif
}

bool ParseOptions(int argc, char** argv, TOptions& options)
{
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--mutations" && hasValue)
            options.Mutations = std::strtol(argv[++i], nullptr, 0);
        else if (arg == "--seed" && hasValue)
            options.Seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 0));
        else if (arg == "--max-len" && hasValue)
            options.MaxLength = std::strtoul(argv[++i], nullptr, 0);
        else if (arg.starts_with("--"))
            return false;
        else
            options.Paths.push_back(arg);
    }
    return options.Mutations >= 0 && options.MaxLength > 0;
}

TBytes ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every regular file named, and every regular file in the folders named, in name order.
std::vector<TBytes> LoadInputs(const std::vector<std::string>& paths)
{
    std::vector<std::filesystem::path> files;
    for (const auto& path : paths)
    {
        if (!std::filesystem::is_directory(path))
        {
            files.emplace_back(path);
            continue;
        }
        std::vector<std::filesystem::path> inFolder;
        for (const auto& entry : std::filesystem::directory_iterator(path))
            if (entry.is_regular_file())
                inFolder.push_back(entry.path());
        std::sort(inFolder.begin(), inFolder.end());
        files.insert(files.end(), inFolder.begin(), inFolder.end());
    }
    std::vector<TBytes> inputs;
    for (const auto& file : files)
        inputs.push_back(ReadFile(file));
    return inputs;
}

void RunOne(const TBytes& input)
{
    g_pCurrent = &input;
    LLVMFuzzerTestOneInput(input.data(), input.size());
    g_pCurrent = nullptr;
}

// Half the time the last mutant grows further, so changes can stack up over several rounds.
void RunMutations(const std::vector<TBytes>& seeds, const TOptions& options)
{
    TFuzzMutator mutator(options.Seed, options.MaxLength);
    TBytes input;
    for (long round = 0; round < options.Mutations; ++round)
    {
        if (round == 0 || mutator.Below(2) == 0)
            input = seeds.empty() ? TBytes() : seeds[mutator.Below(seeds.size())];
        mutator.Mutate(input, seeds);
        RunOne(input);
    }
}
} // namespace

int main(int argc, char** argv)
{
    TOptions options;
    if (!ParseOptions(argc, argv, options))
    {
        std::fprintf(stderr,
                     "usage: %s [--mutations N] [--seed S] [--max-len BYTES] FILE-OR-FOLDER...\n",
                     argv[0]);
        return EXIT_USAGE;
    }
    InstallCrashHandlers(argv[0]);
    const auto start = std::chrono::steady_clock::now();
    const std::vector<TBytes> seeds = LoadInputs(options.Paths);
    for (const auto& seed : seeds)
        RunOne(seed);
    RunMutations(seeds, options);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    std::printf("%zu seed inputs and %ld mutated inputs in %lld ms: no failure\n", seeds.size(),
                options.Mutations, static_cast<long long>(ms));
    return EXIT_SUCCESS;
}
