#include <cstdio>

#include "app/cli/commands.h"

namespace zemo::cli {
int runExport(int, char**) {
    std::fprintf(stderr, "zemo export: not built yet\n");
    return 1;
}
int runImport(int, char**) {
    std::fprintf(stderr, "zemo import: not built yet\n");
    return 1;
}
}  // namespace zemo::cli
