// The objects of the drawn rooms: where they stand and face, that they show in every mode
// without changing the rooms' pixels elsewhere, that the pick finds them before the room (and
// agrees with GL's selection), that their models are compiled once, and their labels.
#include "view/view_fixture.h"

#include "demo/demo_level.h"
#include "document/object_operations.h"
#include "document/sector_heights.h"
#include "document/sector_numbering.h"
#include "level/level_format.h"
#include "level/world_units.h"
#include "view/object_placement.h"

#include <cstring>

namespace morvane {
namespace {

using ObjectViewTest = test::ViewFixture;

constexpr int NoModelType = 999;

struct PlacedObject {
    ObjectKind Kind;
    int Column, Row; // the sector it stands in the middle of
    int Type;
    bool Solid; // covers the middle of its sector seen from above
};

TEST_F(ObjectViewTest, ShownInEveryModeAndPickedBeforeTheRoom) {
    auto level = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*level, FormatTR1);
    BuildLevelTextures(*level);
    scene.TexturesLoaded = true;
    ModelLibrary models;
    models.Build(*level);
    ASSERT_NE(models.Item(LaraItemType), nullptr);
    ASSERT_NE(models.Static(0), nullptr);
    ASSERT_NE(models.Item(163), nullptr);
    ASSERT_TRUE(models.Item(163)->IsSprite);
    ASSERT_EQ(models.Item(NoModelType), nullptr);
    scene.Models = &models;

    TEditorRoom& room = Add(8, 8, 10, 20, 10, 4);
    const PlacedObject placed[] = {
        {ObjectKind::Item, 2, 2, LaraItemType, true}, {ObjectKind::Static, 6, 2, 0, true},
        {ObjectKind::Item, 2, 6, 163, false},         {ObjectKind::Item, 6, 6, NoModelType, true},
        {ObjectKind::Camera, 4, 4, 0, false},         {ObjectKind::Light, 4, 6, 0, false}};
    std::vector<TEditorObject> objects;
    for (const PlacedObject& p : placed) {
        TEditorObject object =
            NewObject(p.Kind, 1, (p.Column - 1) * 1024 + 512, (p.Row - 1) * 1024 + 512, p.Type);
        if (p.Kind == ObjectKind::Camera || p.Kind == ObjectKind::Light) {
            object.OnFloor = 0;
            object.Y = FloorY(room, SectorNumber(p.Column, p.Row, room.ZSectors)) - 1024;
        }
        objects.push_back(object);
    }
    const std::pair<int, int> emptySectors[] = {{4, 2}, {2, 4}, {6, 4}, {4, 8}};

    for (RenderMode mode : {RenderMode::Wireframe, RenderMode::Solid, RenderMode::Textured}) {
        SCOPED_TRACE(static_cast<int>(mode));
        scene.Mode = mode;
        ASSERT_EQ(ReplaceObjectLayer(*project, {}), "");
        FrameFromAbove();
        const RgbImage without = surface.LastFrame();
        ASSERT_EQ(ReplaceObjectLayer(*project, objects), "");
        viewport.Redraw();
        const RgbImage with = surface.LastFrame();

        for (std::size_t i = 0; i < objects.size(); ++i) {
            const auto point = ObjectScenePoint(*project, objects[i]);
            const auto at = ToWindow(point[0], point[1] + 0.05, point[2]);
            if (placed[i].Solid) {
                // Outlines show near the middle, faces right on it.
                const int reach = mode == RenderMode::Wireframe ? 8 : 0;
                bool shows = false;
                for (int dy = -reach; dy <= reach; ++dy) {
                    for (int dx = -reach; dx <= reach; ++dx) {
                        const std::pair<int, int> near{at.first + dx, at.second + dy};
                        shows = shows ||
                                std::memcmp(PixelAt(without, near), PixelAt(with, near), 3) != 0;
                    }
                }
                EXPECT_TRUE(shows) << "object " << i << " shows over its sector";
            }
            EXPECT_EQ(HitOfPickName(PickAt(at)), ViewHit::OfObject(static_cast<int>(i)))
                << "object " << i;
            EXPECT_EQ(HitOfPickName(viewport.PickBySelection()),
                      ViewHit::OfObject(static_cast<int>(i)))
                << "object " << i << " by GL's selection";
        }
        for (const auto& [x, z] : emptySectors) {
            const auto at = SectorCentre(room, x, z);
            EXPECT_EQ(std::memcmp(PixelAt(without, at), PixelAt(with, at), 3), 0)
                << "sector " << x << ", " << z << " drawn as before";
            EXPECT_EQ(HitOfPickName(PickAt(at)),
                      ViewHit::OfSector(SectorNumber(x, z, room.ZSectors)));
        }
    }
}

TEST_F(ObjectViewTest, ModelsCompiledOnceAndMarkersLabelled) {
    auto level = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*level, FormatTR2);
    BuildLevelTextures(*level);
    scene.TexturesLoaded = true;
    ModelLibrary models;
    models.Build(*level);
    scene.Models = &models;
    scene.Mode = RenderMode::Textured;
    TEditorRoom& room = Add(16, 16, 10, 20, 10, 4);
    std::vector<TEditorObject> objects;
    for (int i = 0; i < 200; ++i) {
        const int type = i == 7 ? NoModelType : i % 2 == 0 ? LaraItemType : 163;
        TEditorObject object = NewObject(ObjectKind::Item, 1, 1024 + (i % 14) * 1024 + 256,
                                         1024 + (i / 14) * 1024 + 256, type);
        object.Angle = static_cast<uint16_t>(i * 3000);
        objects.push_back(object);
    }
    // Items beyond the level's limit are not the view's concern: the layer is filled directly.
    project->Objects.Count = static_cast<uint32_t>(objects.size());
    std::copy(objects.begin(), objects.end(), project->Objects.Objects);
    FrameFromAbove();
    viewport.Redraw();
    viewport.Redraw();
    EXPECT_EQ(scene.ObjectListCompilations(), 1) << "the models are compiled once";
    scene.SelectedObject = 3;
    viewport.Redraw();
    EXPECT_EQ(scene.ObjectListCompilations(), 1) << "a selection only places the box";
    scene.Mode = RenderMode::Solid;
    viewport.Redraw();
    EXPECT_EQ(scene.ObjectListCompilations(), 2) << "another mode, other lists";
    models.Build(*level);
    viewport.Redraw();
    EXPECT_EQ(scene.ObjectListCompilations(), 3) << "a new library, new lists";

    const auto labels = scene.ObjectLabels(viewport.ClipTransform(), Width, Height);
    ASSERT_EQ(labels.size(), 1u) << "only the type without a model is a marker";
    EXPECT_EQ(labels[0].Object, 7);
    EXPECT_EQ(labels[0].Text, std::to_string(NoModelType));
    const auto point = ObjectScenePoint(*project, objects[7]);
    const auto top = ToWindow(point[0], point[1] + 2 * MarkerHalfSize / 1024, point[2]);
    EXPECT_NEAR(labels[0].WindowX, top.first, 1.5);
    EXPECT_NEAR(labels[0].WindowY, top.second, 1.5);
    (void)room;
}

} // namespace
} // namespace morvane
