#include <cstdio>

#include "app/cli/commands.h"

namespace zemo::cli {
int runInit(int, char**) {
    std::fprintf(stderr, "zemo init: not built yet\n");
    return 1;
}
}  // namespace zemo::cli
