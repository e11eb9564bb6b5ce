#pragma once

#include "document/project.h"
#include "document/sector_selection.h"
#include "view/gl_figure.h"

namespace morvane {

// The sectors chosen by a drag, drawn over the scene (not into its display list, so a drag only
// repaints): a see-through yellow cover with an outline on each chosen sector's floor, at the
// floor's highest point, seen through whatever stands in front. Place it as the room scene is
// placed (its Position) before it renders.
class SectorHighlight : public GLFigure {
public:
    const TEditorProject* Project = nullptr;
    const SectorSelection* Selection = nullptr;
    // Only the drawn room's selection shows.
    int DrawnRoom = 0;

    void Draw() override;
};

} // namespace morvane
