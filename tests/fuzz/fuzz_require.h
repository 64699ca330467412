// How a fuzz target reports a broken promise: what broke, then abort, which libFuzzer records
// together with the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void Require(bool condition, const char* what) {
    if (condition)
        return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}
