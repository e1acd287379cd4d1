// Any bytes as a packed skin container: reading ends with the container's members or with the
// system's own error, never with a crash, a hang or runaway memory.

#include <cstddef>
#include <cstdint>

#include "skin/acSkinPack.h"
#include "toolkit/Exceptions.h"
#include "toolkit/MessageBox.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = [] {
        toolkit::SetMessageBoxHandler(
            [](const toolkit::MessageBoxRequest&) { return toolkit::ModalResult::OK; });
        return true;
    }();
    (void)quiet;
    toolkit::TMemoryStream source(std::vector<std::uint8_t>(data, data + size));
    skin::TacSkinConvertor reader;
    reader.LendSource(&source);
    try {
        reader.ReadContainer();
        reader.FindMember("MASTER.BMP");
    } catch (const toolkit::Exception&) {
    }
    reader.DetachSource();
    return 0;
}
