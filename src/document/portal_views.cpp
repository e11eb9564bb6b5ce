#include "document/portal_views.h"

#include "document/editor_texts.h"

#include <string>

namespace morvane {

namespace {

constexpr int32_t NewOriginZ = 2;
constexpr int32_t NewOriginX = 3;

bool ValidTarget(const TEditorProject& project, int room) {
    return room >= 1 && room != project.CurrentRoom && room <= project.RoomCount;
}

PortalListView ListWithSelection(const TEditorRoom& room, int selected) {
    PortalListView list;
    for (int d = 1; d <= room.PortalViewCount; ++d) {
        list.Entries.push_back(PortalViewPrefix + std::to_string(d));
    }
    list.Selected = selected;
    return list;
}

void StoreFields(TPortalView& view, const PortalViewFields& fields) {
    view.Facing = static_cast<uint8_t>(fields.FacingIndex + 1);
    view.TargetRoom = static_cast<uint16_t>(fields.Room);
    view.WidthTiles = fields.Width;
    view.HeightTiles = fields.Height;
}

bool HasViews(const TEditorProject& project) {
    return project.HasCurrentRoom() && project.Current().PortalViewCount > 0 &&
           project.Current().PortalViewCount <= MaxPortalViews;
}

} // namespace

DocumentOutcome AddPortalView(TEditorProject& project, const PortalViewFields& fields) {
    DocumentOutcome outcome;
    if (!ValidTarget(project, fields.Room)) {
        return DocumentOutcome::Refusal(InvalidPortalViewRoomText);
    }
    TEditorRoom& room = project.Current();
    if (room.PortalViewCount < 0 || room.PortalViewCount >= MaxPortalViews) {
        return DocumentOutcome::Refusal(TooManyPortalViewsText);
    }
    ++room.PortalViewCount;
    TPortalView& view = room.PortalView(room.PortalViewCount);
    StoreFields(view, fields);
    view.OriginZ = NewOriginZ;
    view.OriginX = NewOriginX;
    outcome.PortalList = ListWithSelection(room, room.PortalViewCount - 1);
    outcome.Redraw = true;
    return outcome;
}

DocumentOutcome ReplacePortalView(TEditorProject& project, int selectedView,
                                  const PortalViewFields& fields) {
    DocumentOutcome outcome;
    if (!ValidTarget(project, fields.Room)) {
        return DocumentOutcome::Refusal(InvalidPortalViewRoomText);
    }
    if (!HasViews(project) || selectedView < 1 ||
        selectedView > project.Current().PortalViewCount) {
        return outcome; // no view selected
    }
    StoreFields(project.Current().PortalView(selectedView), fields);
    outcome.Redraw = true;
    return outcome;
}

DocumentOutcome DeletePortalView(TEditorProject& project) {
    DocumentOutcome outcome;
    if (!HasViews(project)) {
        return outcome;
    }
    TEditorRoom& room = project.Current();
    --room.PortalViewCount;
    outcome.PortalList = ListWithSelection(room, room.PortalViewCount - 1);
    outcome.Redraw = true;
    return outcome;
}

PortalViewFields PortalViewFieldsOf(const TEditorProject& project, int selectedView) {
    if (!HasViews(project) || selectedView < 1 ||
        selectedView > project.Current().PortalViewCount) {
        return {};
    }
    const TPortalView& view = project.Current().PortalView(selectedView);
    return {view.TargetRoom, view.WidthTiles, view.HeightTiles, view.Facing - 1};
}

} // namespace morvane
