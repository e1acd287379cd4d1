#include "skin/InternalSkin.h"

namespace skin {

TsStoredSkin& AddInternalSkin(TsStoredSkins& skins) {
    TsStoredSkin& item = skins.Add();
    item.Name = kInternalSkinName;
    const auto bytes = InternalSkinData();
    item.Data().WriteBuffer(bytes.data(), bytes.size());
    item.Data().SetPosition(0);
    return item;
}

} // namespace skin
