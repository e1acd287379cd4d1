// hostile_skins FOLDER [NAME...]: writes the hostile skins (all, or those named) into FOLDER as
// "<name>.asz", one line per file written.

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/skin/HostileSkins.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [NAME...]\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const std::vector<std::string> wanted(argv + 2, argv + argc);
    int written = 0;
    for (const fuzzskin::HostileSkin& skin : fuzzskin::HostileSkins()) {
        if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), skin.name) == wanted.end())
            continue;
        const std::string path = folder + "/" + skin.name + ".asz";
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(skin.bytes.data()),
                  static_cast<std::streamsize>(skin.bytes.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "%s: cannot write\n", path.c_str());
            return 1;
        }
        std::printf("%s\n", path.c_str());
        ++written;
    }
    if (written < static_cast<int>(wanted.size())) {
        std::fprintf(stderr, "some of the named skins do not exist\n");
        return 1;
    }
    return 0;
}
