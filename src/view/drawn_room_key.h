#pragma once

#include "document/project.h"
#include "view/render_mode.h"

#include <cstdint>
#include <memory>

namespace morvane {

// What a drawn room was made from: a copy of the room's record and the settings it was drawn
// with. Comparing it with the document tells the scene whether to draw a room anew, so that no
// operation on the document has to tell the view what it changed. A compare is one pass over
// the record's bytes (about 110 KB).
class DrawnRoomKey {
public:
    bool Matches(const TEditorRoom& room, RenderMode mode, int32_t solidTexture) const;
    void Take(const TEditorRoom& room, RenderMode mode, int32_t solidTexture);

private:
    std::unique_ptr<TEditorRoom> room_;
    RenderMode mode_ = RenderMode::Wireframe;
    int32_t solidTexture_ = 0;
};

} // namespace morvane
