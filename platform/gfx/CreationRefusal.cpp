#include "platform/gfx/CreationRefusal.h"

#include <array>

namespace platform {
namespace {

std::array<int, static_cast<int>(Creation::Count)> g_refusals{};

} // namespace

bool CreationRefused(Creation what) {
    int& left = g_refusals[static_cast<int>(what)];
    if (left <= 0)
        return false;
    --left;
    return true;
}

void RefuseCreations(Creation what, int count) {
    g_refusals[static_cast<int>(what)] = count > 0 ? count : 0;
}

} // namespace platform
