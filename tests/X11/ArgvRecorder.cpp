// A program for launch tests: writes the arguments it was started with, argv[0] included,
// each followed by a NUL, to the file named by $KESTAVON_ARGV_FILE, and exits.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    const char* path = std::getenv("KESTAVON_ARGV_FILE");
    if (!path) return 2;
    // Written aside and renamed, so a reader never sees half a list.
    const std::string partial = std::string(path) + ".part";
    std::FILE* file = std::fopen(partial.c_str(), "wb");
    if (!file) return 3;
    for (int i = 0; i < argc; ++i)
        std::fwrite(argv[i], 1, std::strlen(argv[i]) + 1, file);
    if (std::fclose(file) != 0) return 4;
    return std::rename(partial.c_str(), path) == 0 ? 0 : 5;
}
