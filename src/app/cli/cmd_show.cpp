#include <cstdio>

#include "app/cli/commands.h"

namespace zemo::cli {
int runShow(int, char**) {
    std::fprintf(stderr, "zemo show: not built yet\n");
    return 1;
}
}  // namespace zemo::cli
