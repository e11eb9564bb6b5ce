#pragma once

#include "document/sector_selection.h"
#include "ui/view_tool.h"
#include "view/sector_highlight.h"

namespace morvane {

// The sector tool: a click edits the floor of the sector under the pointer (Ctrl: the ceiling;
// Shift: the other turn of the sloped shapes) with the tool bar's shape, textures and portal
// links, replicated as the tool bar says; a click on the neighbour room makes it the current
// room; Alt-click puts the chosen portal view's origin on the sector. Dragging on from a
// pressed sector chooses the rectangle of sectors up to the one under the pointer (Shift adds
// to the earlier ones), and releasing applies the press's edit to each once: the press and the
// drag are one step. Up and Down move the height selector; Space reads the sector under the
// pointer back into the tool bar.
class SectorTool : public ViewTool {
public:
    explicit SectorTool(ViewToolHost& host);

    void press(const ViewPointer& pointer) override;
    bool drag(const ViewPointer& pointer) override;
    void release(const ViewPointer& pointer) override;
    bool wheel(const ViewPointer& pointer, double notches) override;
    bool takesKey(int key, Qt::KeyboardModifiers modifiers) const override;
    void keyPress(int key, Qt::KeyboardModifiers modifiers) override;
    std::string statusText(const ViewHit& hit) const override;
    void drawOverlay() override;
    void cancel() override;

    // The sectors the last drag chose (kept after it, drawn until the next press or a new
    // document).
    const SectorSelection& selection() const { return selection_; }
    // One sector of a room chosen as a drag would choose it (a report's line points at it).
    void selectSector(int room, int sector);

private:
    // The name of a click's or a drag's step: what it did to the current room.
    EditName editName(bool ceiling) const;

    // A press of the left button on a sector and the drag that may follow it. Its edits carry a
    // merge id of their own, so that the press and the drag are one step.
    struct Gesture {
        bool Active = false;
        bool Dragged = false;
        int Anchor = 0; // the sector pressed
        int Last = 0;   // the sector under the pointer
        bool Ctrl = false;
        bool Shift = false;
        int MergeId = -1;
    };

    ViewToolHost& host_;
    Gesture gesture_;
    SectorSelection selection_;
    SectorHighlight highlight_;
};

} // namespace morvane
