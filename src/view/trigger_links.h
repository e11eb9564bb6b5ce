#pragma once

#include "document/project.h"
#include "view/gl_figure.h"

#include <vector>

namespace morvane {

// Lines from a trigger's sector to the objects it acts on, drawn over the scene (outside its
// display list, seen through walls) in the trigger tool. Place it as the room scene is placed.
class TriggerLinks : public GLFigure {
public:
    const TEditorProject* Project = nullptr;
    // The trigger's sector, and the objects (indexes in the layer) its lines run to; no lines
    // while Room is 0.
    int Room = 0, Column = 0, Row = 0;
    std::vector<int> Objects;

    void Draw() override;
};

} // namespace morvane
