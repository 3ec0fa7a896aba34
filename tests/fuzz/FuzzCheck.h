#pragma once

#include <cstdio>
#include <cstdlib>

// A broken invariant in a fuzz target: libFuzzer and the replay driver both take the abort
// as a crash and keep the input that caused it.
[[noreturn]] inline void FuzzCheckFailed(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}

#define FUZZ_CHECK(condition)                                                                      \
    ((condition) ? static_cast<void>(0) : FuzzCheckFailed(#condition, __FILE__, __LINE__))
