#pragma once

#include "ui/view_tool.h"

#include <optional>

namespace morvane {

// The object tool: a click on an object chooses it (objects are picked before sectors) and
// dragging moves it along the floor (Ctrl held: to sector centres); a click on the floor places
// the objects dock's type while the dock is placing, and otherwise lets the choice go. With an
// object chosen, Left and Right (or the wheel over it) turn it by 45 degrees (Shift: 90), Delete
// removes it and Ctrl+C copies it; Ctrl+V puts the copy on the floor under the pointer. Every
// change is one step of the history; a press and its drag are one.
class ObjectTool : public ViewTool {
public:
    explicit ObjectTool(ViewToolHost& host) : host_(host) {}

    void press(const ViewPointer& pointer) override;
    bool drag(const ViewPointer& pointer) override;
    void release(const ViewPointer& pointer) override;
    bool wheel(const ViewPointer& pointer, double notches) override;
    bool takesKey(int key, Qt::KeyboardModifiers modifiers) const override;
    void keyPress(int key, Qt::KeyboardModifiers modifiers) override;
    std::string statusText(const ViewHit& hit) const override;
    void drawOverlay() override {}
    void cancel() override;

    // The degrees a turn takes: 45, or 90 with Shift.
    static int TurnStep(bool shift) { return shift ? 90 : 45; }

private:
    // The point of the current room's floor under the pointer (x and z from its corner), when
    // the pointer is over one of its sectors.
    std::optional<WorldPoint> floorUnderPointer(const ViewHit& hit);
    void placeAt(TEditorObject object, const WorldPoint& point, const char* name);
    void turnSelected(int degrees);

    struct Gesture {
        bool Active = false;
        int Object = -1;
        double GrabX = 0, GrabZ = 0; // the pointer's place from the object's, at the press
        int MergeId = -1;
    };

    ViewToolHost& host_;
    Gesture gesture_;
    std::optional<TEditorObject> clipboard_;
};

} // namespace morvane
