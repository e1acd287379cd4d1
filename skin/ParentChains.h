#pragma once
// Parent links between skin sections, resolved once for a whole skin.
//
// parents[i] is the index of node i's parent, or -1. The result is a forest: walking the nodes
// in order, a link that would close a cycle is cut (its node becomes a root), and a node whose
// chain would be deeper than maxDepth links becomes a root too. Order lists every node after
// its parent, so values can be inherited in one pass. Linear in the number of nodes.

#include <cstdint>
#include <vector>

namespace skin {

struct TacParentForest {
    std::vector<std::int32_t> Parents;
    std::vector<std::int32_t> Order;
};

TacParentForest ResolveParentChains(std::vector<std::int32_t> parents, std::int32_t maxDepth);

} // namespace skin
