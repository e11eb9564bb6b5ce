// Writes the floor-data file that the build loads (beside the program, or installed in
// share/morvane3d):
//   make_floor_dat data/floor.dat
#include "levelbuild/slope_floor_data.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_floor_dat OUT\n");
        return 2;
    }
    const auto words = morvane::MakeSlopeFloorData();
    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr || std::fwrite(words.data(), 2, words.size(), out) != words.size() ||
        std::fclose(out) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
