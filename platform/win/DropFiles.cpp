#include "platform/win/DropFiles.h"

#include <map>

#include "platform/win/Message.h"

namespace platform {
namespace {

struct Drops {
    WPARAM next = 1;
    std::map<WPARAM, std::vector<std::string>> pending;
};

Drops& TheDrops() {
    static Drops drops;
    return drops;
}

} // namespace

bool PostDroppedFiles(HWND window, std::vector<std::string> paths) {
    Drops& drops = TheDrops();
    // Drops nobody took (their window went away with the message) must not pile up; a
    // program handles each at once, so a long backlog can only be such leftovers.
    if (drops.pending.size() >= 64)
        drops.pending.clear();
    const WPARAM handle = drops.next++;
    drops.pending.emplace(handle, std::move(paths));
    if (PostMessage(window, WM_DROPFILES, handle, 0))
        return true;
    drops.pending.erase(handle);
    return false;
}

std::vector<std::string> DragQueryFiles(WPARAM drop) {
    Drops& drops = TheDrops();
    const auto it = drops.pending.find(drop);
    if (it == drops.pending.end())
        return {};
    std::vector<std::string> paths = std::move(it->second);
    drops.pending.erase(it);
    return paths;
}

} // namespace platform
