#include <cstdio>

#include "app/cli/commands.h"

namespace zemo::cli {
int runPlan(int, char**) {
    std::fprintf(stderr, "zemo plan: not built yet\n");
    return 1;
}
}  // namespace zemo::cli
