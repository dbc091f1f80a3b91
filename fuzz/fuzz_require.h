#pragma once
// A broken invariant stops the fuzzer with the invariant's name.
#include <cstdio>
#include <cstdlib>
#include <string>

inline void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// A refusal's message starts with the file it is about.
inline bool NamesFile(const std::string& error, const std::string& file) { return error.rfind(file + ": ", 0) == 0; }
