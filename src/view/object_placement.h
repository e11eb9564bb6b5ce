#pragma once

// Where the view puts the objects of the objects layer, and how a pick finds them, as plain
// data: the scene's units are sectors (x, z) and levels (y, upwards), with z running against the
// game's z; an object's model keeps the game's units and axes and is placed by one transform.
#include "document/project.h"
#include "level/level_models.h"
#include "view/selection_pick.h"
#include "view/view_matrix.h"

#include <array>
#include <string>
#include <vector>

namespace morvane {

// The box drawn for an object without a model (a marker), a camera or a light, in the game's
// units about its point.
inline constexpr float MarkerHalfSize = 128;

// The indices of the objects in room `room` or, when it differs and is a room of the project,
// `neighbour`, in the layer's order.
std::vector<int> ObjectsOfRooms(const TEditorProject& project, int room, int neighbour);

// The world height (game units, downwards) the object stands at: its Y, or on the floor the
// floor of the sector under it at its place (on a slope, between the shape's corners); a point
// outside the room's grid takes the nearest sector's edge.
int ObjectWorldY(const TEditorProject& project, const TEditorObject& object);

// The object's point in the scene's units.
std::array<double, 3> ObjectScenePoint(const TEditorProject& project, const TEditorObject& object);

// The transform from the object's model (game units and axes, about the object's point) to the
// scene: the point, the change of units and axes, and the object's turn about the vertical
// (cameras and lights have none). A quarter turn takes the model's +z (its front) to the game's
// +x.
Mat4 ObjectSceneTransform(const TEditorProject& project, const TEditorObject& object);

// The object's model in the library (by item type or static id), or none: cameras, lights and
// types the base level has no model of.
const ObjectModel* ObjectModelOf(const ModelLibrary* models, const TEditorObject& object);

// The box around what is drawn for the object, in its model's units: the model's box, a
// marker's standing on the point, or a camera's or light's figure's about the point.
struct ObjectBox {
    std::array<float, 3> Min, Max;
};
ObjectBox ObjectDrawnBox(const ModelLibrary* models, const TEditorObject& object);

// Offers the drawn objects' boxes to a pick (every face both ways round, so a box is hit from
// outside and from inside), each under PickNameOfObject(index). clipFromScene: the transform
// from the scene's units to clip space. Returns the nearest object's index, or -1.
int PickObjects(const Mat4& clipFromScene, const TEditorProject& project,
                const ModelLibrary* models, const std::vector<int>& objects);

// The text shown beside an object that is drawn as a marker (no model of its type in the base
// level): its type number; empty for objects drawn with a model, cameras and lights.
std::string MarkerLabelOf(const ModelLibrary* models, const TEditorObject& object);

} // namespace morvane
