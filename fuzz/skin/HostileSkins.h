// A catalogue of hostile packed skins: damaged containers, lying sizes and names, decompression
// bombs, odd options texts, long parent chains, unparsable numbers and pictures whose headers
// lie. Each must load or be refused with the system's own error, quickly and in bounded memory.
// The hostile_skins program writes them to a folder; the skin tests replay them in-process.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/skin/PackedSkinWriter.h"

namespace fuzzskin {

enum class HostileKind {
    Plain,        // anything the loader must survive on its own
    SectionWalks, // long parent chains, rings and names: cheap only when every section is
                  // resolved once rather than walked again for every value
};

struct HostileSkin {
    std::string name; // a file stem: "<name>.asz"
    Bytes bytes;
    HostileKind kind = HostileKind::Plain;
};

// Every hostile skin, in a fixed order; building it takes about a second (the bombs deflate
// several hundred megabytes of zeros).
std::vector<HostileSkin> HostileSkins();

} // namespace fuzzskin
