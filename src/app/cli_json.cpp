#include "app/cli_json.h"

#include <cstdint>
#include <string>

namespace morvane {

Json Latin1Text(std::string_view text) {
    // Every Latin-1 byte is the code point of the same number.
    std::string utf8;
    utf8.reserve(text.size());
    for (unsigned char c : text) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

Json LevelSummary(const TLevelData& l) {
    Json rooms = Json::array();
    for (int r = 0; r < l.NumRooms; ++r) {
        const TLevelRoom& room = l.Rooms[r];
        rooms.push_back({
            {"x", int64_t{room.RoomInfo.X}},
            {"z", int64_t{room.RoomInfo.Z}},
            {"y_bottom", int64_t{room.RoomInfo.YBottom}},
            {"y_top", int64_t{room.RoomInfo.YTop}},
            {"num_vertices", room.NumVertices},
            {"num_rectangles", room.NumRectangles},
            {"num_triangles", room.NumTriangles},
            {"num_sprites", room.NumSprites},
            {"num_portals", room.NumPortals},
            {"num_z_sectors", room.NumZSectors},
            {"num_x_sectors", room.NumXSectors},
            {"num_lights", room.NumLights},
            {"num_static_meshes", room.NumStaticMeshes},
            {"alternate_room", room.AlternateRoom},
            {"flags", room.RoomFlags},
        });
    }
    return {
        {"version", l.Version},
        {"format_kind", l.FormatKind},
        {"num_textiles", l.NumTextiles},
        {"num_rooms", l.NumRooms},
        {"rooms", std::move(rooms)},
        {"num_floor_data", l.NumFloorData},
        {"num_mesh_data", l.NumMeshData},
        {"num_mesh_pointers", l.NumMeshPointers},
        {"num_animations", l.NumAnimations},
        {"num_state_changes", l.NumStateChanges},
        {"num_anim_dispatches", l.NumAnimDispatches},
        {"num_anim_commands", l.NumAnimCommands},
        {"num_mesh_links", l.NumMeshLinks},
        {"num_frames", l.NumFrames},
        {"num_moveables", l.NumMoveables},
        {"num_static_meshes", l.NumStaticMeshes},
        {"num_object_textures", l.NumObjectTextures},
        {"num_sprite_textures", l.NumSpriteTextures},
        {"num_sprite_sequences", l.NumSpriteSequences},
        {"num_cameras", l.NumCameras},
        {"num_sound_sources", l.NumSoundSources},
        {"num_boxes", l.NumBoxes},
        {"num_overlaps", l.NumOverlaps},
        {"num_zones", l.NumZones},
        {"num_animated_textures", l.NumAnimatedTextures},
        {"num_items", l.NumItems},
        {"num_cinematic_frames", l.NumCinematicFrames},
        {"num_demo_data", l.NumDemoData},
        {"num_sound_details", l.NumSoundDetails},
        {"num_samples", l.NumSamples},
        {"num_sample_indices", l.NumSampleIndices},
    };
}

Json ProjectSummary(const ProjectOutline& project) {
    Json rooms = Json::array();
    for (int r = 1; r <= project.RoomCount; ++r) {
        const RoomOutline& room = project.Room(r);
        rooms.push_back({
            {"name", Latin1Text(room.Name.Str())},
            {"pos_x", room.PosX},
            {"pos_y", room.PosY},
            {"pos_z", room.PosZ},
            {"height", room.Height},
            {"z_sectors", room.ZSectors},
            {"x_sectors", room.XSectors},
            {"portal_view_count", room.PortalViewCount},
            {"sector_light", room.SectorLight},
            {"water", room.Water},
            {"wind_rain", room.WindRain},
            {"quicksand", room.Quicksand},
            {"sky", room.Sky},
        });
    }
    return {
        {"version", project.Version},
        {"level_description", Latin1Text(project.Settings.LevelDescription.Str())},
        {"comments", Latin1Text(project.Settings.Comments.Str())},
        {"base_level_file", Latin1Text(project.Settings.BaseLevelFile.Str())},
        {"items_table_file", Latin1Text(project.Settings.ItemsTableFile.Str())},
        {"meshes_file", Latin1Text(project.Settings.MeshesFile.Str())},
        {"script_file", Latin1Text(project.Settings.ScriptFile.Str())},
        {"output_level_file", Latin1Text(project.Settings.OutputLevelFile.Str())},
        {"current_room", project.CurrentRoom},
        {"room_count", project.RoomCount},
        {"rooms", std::move(rooms)},
        {"objects",
         {{"items", project.Objects.Items},
          {"cameras", project.Objects.Cameras},
          {"statics", project.Objects.Statics},
          {"lights", project.Objects.Lights}}},
        {"triggers", project.Triggers},
        {"alternate_rooms", project.AlternateRooms},
    };
}

Json FindingsSummary(const std::vector<LevelFinding>& findings) {
    Json list = Json::array();
    for (const LevelFinding& f : findings) {
        Json finding = {{"severity", f.Severity == FindingSeverity::Error ? "error" : "warning"}};
        const std::pair<const char*, int> places[] = {
            {"room", f.Room},     {"column", f.Column},      {"row", f.Row},
            {"portal", f.Portal}, {"view", f.View},          {"item", f.Item},
            {"camera", f.Camera}, {"static_mesh", f.Static}, {"light", f.Light},
            {"box", f.Box}};
        for (const auto& [key, value] : places) {
            if (value > 0) {
                finding[key] = value;
            }
            if (value > 0 && std::string_view(key) == "room" && !f.RoomName.empty()) {
                finding["room_name"] = Latin1Text(f.RoomName);
            }
        }
        if (!f.Object.empty()) {
            finding["object"] = Latin1Text(f.Object);
        }
        finding["text"] = Latin1Text(f.Text);
        list.push_back(std::move(finding));
    }
    return list;
}

void PrintJson(const Json& value, std::ostream& out) {
    out << value.dump(2, ' ', /*ensure_ascii=*/true) << '\n';
}

} // namespace morvane
