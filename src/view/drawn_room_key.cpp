#include "view/drawn_room_key.h"

#include <cstring>

namespace morvane {

bool DrawnRoomKey::Matches(const TEditorRoom& room, RenderMode mode, int32_t solidTexture) const {
    return room_ != nullptr && mode_ == mode && solidTexture_ == solidTexture &&
           std::memcmp(room_.get(), &room, sizeof(TEditorRoom)) == 0;
}

void DrawnRoomKey::Take(const TEditorRoom& room, RenderMode mode, int32_t solidTexture) {
    if (room_ == nullptr) {
        room_ = std::make_unique<TEditorRoom>();
    }
    std::memcpy(static_cast<void*>(room_.get()), &room, sizeof(TEditorRoom));
    mode_ = mode;
    solidTexture_ = solidTexture;
}

} // namespace morvane
