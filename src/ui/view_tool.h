#pragma once

#include "document/document_change.h"
#include "document/objects.h"
#include "document/sector_tools.h"
#include "document/view_hit.h"
#include "view/gl_viewport.h"
#include "view/pointer_ground.h"

#include <QString>
#include <Qt>

#include <functional>
#include <optional>
#include <string>

namespace morvane {

class RoomScene;

// The view's tools, one active at a time.
enum class ToolKind { Sector, Object, Trigger };

// The pointer over the 3D view: where it is, in the view's pixels, and the keys and buttons
// held.
struct ViewPointer {
    int X = 0;
    int Y = 0;
    ShiftState Keys;
};

// An edit's name in the undo history, given the document as it was before the edit.
using EditName = std::function<std::string(const DocumentSnapshot& before)>;

// What a tool may ask of the editor: the document and the scene, the pick, the one path by which
// the document changes (an undoable step), and the tool bar's settings.
class ViewToolHost {
public:
    virtual TEditorProject& document() = 0;
    virtual RoomScene& roomScene() = 0;
    // What lies under the pointer now.
    virtual ViewHit pickUnderPointer() = 0;
    // Runs a document operation as one step of the history (see MainWindow::edit).
    virtual DocumentOutcome runEdit(const EditName& name,
                                    const std::function<DocumentOutcome()>& operation,
                                    EditScope scope, int mergeId) = 0;
    // A merge id of its own for a gesture whose events are one step.
    virtual int newGestureMerge() = 0;
    // The tool bar's settings for a click, and the ones read back from a sector.
    virtual SectorToolState sectorToolState() const = 0;
    virtual void showSectorToolState(const SectorToolState& tools) = 0;
    // The portal view chosen in the tool bar's list (from 1; 0 for none).
    virtual int selectedPortalView() const = 0;
    // The status bar's left part, and its right part (what is under the pointer) now.
    virtual void showStatus(const QString& text) = 0;
    virtual void showWhatIsUnderPointer() = 0;
    // The height selector changed: the scene is drawn again and its box shows the new value.
    virtual void heightSelectorChanged() = 0;
    // The view painted again without compiling the scene (what a tool draws over it changed).
    virtual void repaintView() = 0;

    // The object chosen in the view and the objects dock (its index in the layer; -1 for none).
    virtual int selectedObject() const = 0;
    virtual void selectObject(int index) = 0;
    // What a click on the floor places: the objects dock's kind and type while it is placing,
    // none otherwise (room and place are the tool's to fill in).
    virtual std::optional<TEditorObject> objectToPlace() const = 0;
    // Where the line under the pointer meets the level at a height (the game's y).
    virtual std::optional<WorldPoint> pointerOnHeight(double worldY) = 0;
    // The status bar's name of an object's type ("7 Wolf", or the number alone).
    virtual std::string objectTypeLabel(const TEditorObject& object) const = 0;
    // An object as the lists name it: "[2] Wolf" (see ObjectListName).
    virtual std::string objectListName(int index) const = 0;

    // The base level's layout (a FormatKind; FormatNone without one), which says the trigger
    // kinds and actions there are.
    virtual int32_t levelLayout() const = 0;
    // The trigger tool chose other sectors: the triggers dock shows their trigger.
    virtual void triggerSectorsChosen() = 0;
    // Whether the triggers dock waits for an object clicked in the view, and the object clicked.
    virtual bool waitsForTriggerTarget() const = 0;
    virtual void triggerTargetPicked(int object) = 0;

protected:
    ~ViewToolHost() = default;
};

// Delete (no modifier), Ctrl+C and Ctrl+V: the keys of the tools that delete, copy and paste
// what they chose.
inline bool IsDeleteCopyOrPaste(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    return (key == Qt::Key_Delete && held == Qt::NoModifier) ||
           ((key == Qt::Key_C || key == Qt::Key_V) && held == Qt::ControlModifier);
}

// The active tool gets the view's mouse and keys from the main window: the left button (the
// right button always turns, pans and zooms the view), the wheel and the keys while the pointer
// is over the view or the view had the last click. A tool changes the document only through its
// host's runEdit.
class ViewTool {
public:
    virtual ~ViewTool() = default;

    // The left button pressed over the view, the pointer moved with it held (whether a gesture
    // of the tool took the move), and the button released.
    virtual void press(const ViewPointer& pointer) = 0;
    virtual bool drag(const ViewPointer& pointer) = 0;
    virtual void release(const ViewPointer& pointer) = 0;
    // A turn of the wheel over the view; false leaves it to the view, which zooms.
    virtual bool wheel(const ViewPointer& pointer, double notches) = 0;
    // The keys the tool takes, and one of them pressed.
    virtual bool takesKey(int key, Qt::KeyboardModifiers modifiers) const = 0;
    virtual void keyPress(int key, Qt::KeyboardModifiers modifiers) = 0;
    // The status bar's text for what lies under the pointer.
    virtual std::string statusText(const ViewHit& hit) const = 0;
    // Drawn over the scene in every frame, outside its display list and not while picking.
    virtual void drawOverlay() = 0;
    // A gesture in progress is dropped: the document was replaced or another tool was chosen.
    virtual void cancel() = 0;
};

} // namespace morvane
