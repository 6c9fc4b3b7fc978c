// Writes the benchmark survey, or the benchmark map, to a map file for timing
// the programs on it by hand: write_survey [--benchmark-map] FILE.wlm
#include "survey.h"

#include "source/writer.h"

#include <cstdio>
#include <string_view>

int main(int argc, char** argv)
{
    const bool benchmark_map = argc == 3 && std::string_view(argv[1]) == "--benchmark-map";
    if (argc != 2 && !benchmark_map) {
        std::fprintf(stderr, "usage: write_survey [--benchmark-map] FILE.wlm\n");
        return 2;
    }
    wayloom::map_document doc;
    if (benchmark_map) wayloom::bench::build_benchmark_map(doc);
    else wayloom::bench::build_survey(doc);
    std::string error;
    if (!wayloom::save_map(doc, argv[argc - 1], &error)) {
        std::fprintf(stderr, "error: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
