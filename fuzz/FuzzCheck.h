#pragma once

#include <cstdio>
#include <cstdlib>

// An invariant a fuzz target checks: a broken one names itself and stops the run as a crash.
inline void checkAt(bool ok, const char* what)
{
    if (ok)
        return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}
#define check(x) checkAt((x), #x)
