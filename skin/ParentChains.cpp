#include "skin/ParentChains.h"

namespace skin {

TacParentForest ResolveParentChains(std::vector<std::int32_t> parents, std::int32_t maxDepth) {
    enum class Mark : std::uint8_t { Unseen, OnPath, Done };
    const std::size_t count = parents.size();
    std::vector<Mark> marks(count, Mark::Unseen);
    std::vector<std::int32_t> depths(count, 0);
    TacParentForest forest;
    forest.Order.reserve(count);
    std::vector<std::int32_t> path;
    const auto valid = [count](std::int32_t i) {
        return i >= 0 && static_cast<std::size_t>(i) < count;
    };
    for (std::size_t start = 0; start < count; ++start) {
        // Climb from start until a root, a node already placed, or the path itself.
        path.clear();
        std::int32_t node = static_cast<std::int32_t>(start);
        while (valid(node) && marks[static_cast<std::size_t>(node)] == Mark::Unseen) {
            marks[static_cast<std::size_t>(node)] = Mark::OnPath;
            path.push_back(node);
            node = parents[static_cast<std::size_t>(node)];
        }
        if (path.empty())
            continue;
        if (!valid(node) || marks[static_cast<std::size_t>(node)] == Mark::OnPath)
            parents[static_cast<std::size_t>(path.back())] = -1; // no parent, or a cycle closes
        // Place the path from its top down, so that each node follows its parent.
        for (auto it = path.rbegin(); it != path.rend(); ++it) {
            const auto i = static_cast<std::size_t>(*it);
            const std::int32_t parent = parents[i];
            std::int32_t depth = parent < 0 ? 0 : depths[static_cast<std::size_t>(parent)] + 1;
            if (depth > maxDepth) {
                parents[i] = -1;
                depth = 0;
            }
            depths[i] = depth;
            marks[i] = Mark::Done;
            forest.Order.push_back(*it);
        }
    }
    forest.Parents = std::move(parents);
    return forest;
}

} // namespace skin
