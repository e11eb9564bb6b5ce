#pragma once

#include "document/sector_selection.h"
#include "document/triggers.h"
#include "ui/view_tool.h"
#include "view/sector_highlight.h"
#include "view/trigger_links.h"

#include <optional>
#include <vector>

namespace morvane {

struct TriggerSector;

// The trigger tool: a click chooses a sector of the current room and dragging chooses the
// rectangle of sectors up to the one under the pointer (Shift adds to the earlier ones); the
// triggers dock shows and edits the chosen sectors' trigger, all of them at once. While the dock
// waits for a target, a click on an object names it. Delete takes the chosen sectors' triggers
// away, Ctrl+C copies the trigger of the first chosen sector and Ctrl+V gives it to the chosen
// sectors; each is one step of the history. Lines run from the first chosen sector's trigger to
// the objects it acts on.
class TriggerTool : public ViewTool {
public:
    explicit TriggerTool(ViewToolHost& host);

    void press(const ViewPointer& pointer) override;
    bool drag(const ViewPointer& pointer) override;
    void release(const ViewPointer& pointer) override;
    bool wheel(const ViewPointer&, double) override { return false; }
    bool takesKey(int key, Qt::KeyboardModifiers modifiers) const override;
    void keyPress(int key, Qt::KeyboardModifiers modifiers) override;
    std::string statusText(const ViewHit& hit) const override;
    void drawOverlay() override;
    void cancel() override;

    const SectorSelection& selection() const { return selection_; }
    // The chosen sectors, as the trigger edits take them.
    std::vector<TriggerSector> chosenSectors() const;
    // The trigger the dock shows: the first chosen sector's that has one.
    std::optional<TEditorTrigger> shownTrigger() const;
    // Chooses one sector (a number from 1) of the current room, as a click does.
    void chooseSector(int sector);

private:
    struct Gesture {
        bool Active = false;
        int Anchor = 0;
        int Last = 0;
    };

    ViewToolHost& host_;
    Gesture gesture_;
    SectorSelection selection_;
    SectorHighlight highlight_;
    TriggerLinks links_;
    std::optional<TEditorTrigger> clipboard_;
};

} // namespace morvane
