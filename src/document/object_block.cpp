#include "document/object_block.h"

#include "document/flip_block.h"
#include "document/project.h"
#include "document/trigger_block.h"
#include "io/binary_reader.h"
#include "io/binary_writer.h"
#include "io/io_error.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace morvane {

namespace {

constexpr std::size_t TagBytes = 4;
constexpr std::size_t CountBytes = 4;

std::string BlockAt(uint64_t offset) {
    return "the objects block at byte " + std::to_string(offset);
}

// A tag as the message shows it: printable bytes as they are, the others as \xNN.
std::string TagText(const char* tag, std::size_t size) {
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        const auto c = static_cast<unsigned char>(tag[i]);
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            text += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof(escaped), "\\x%02X", c);
            text += escaped;
        }
    }
    return text;
}

void ReadObjectsPayload(BinaryReader& in, uint64_t start, ProjectBlocks& blocks) {
    const auto [length, count] =
        ReadBlockHeader(in, BlockAt(start), ObjectsBlockVersion, MaxObjects, "objects");
    const uint64_t expected = CountBytes + uint64_t{count} * ObjectRecordBytes;
    if (length != expected) {
        throw IoError(BlockAt(start) + " has a length of " + std::to_string(length) +
                      " bytes, which does not fit its count of " + std::to_string(count) +
                      " objects (" + std::to_string(expected) + " bytes).");
    }
    blocks.Objects.resize(count);
    for (TEditorObject& object : blocks.Objects) {
        object = ReadObjectRecord(in);
    }
}

} // namespace

void WriteObjectRecord(BinaryWriter& out, const TEditorObject& object) {
    out.WriteU8(object.Kind);
    out.WriteU8(object.Room);
    out.WriteU8(object.OnFloor);
    out.WriteU8(object.Reserved1);
    out.WriteI32(object.X);
    out.WriteI32(object.Y);
    out.WriteI32(object.Z);
    out.WriteU16(object.Angle);
    out.WriteI16(object.Type);
    out.WriteU16(object.Flags);
    out.WriteU16(object.Reserved2);
    out.WriteI32(object.Intensity);
    out.WriteI32(object.Intensity2);
    out.WriteU32(object.Fade);
    out.WriteU32(object.Colour);
}

TEditorObject ReadObjectRecord(BinaryReader& in) {
    TEditorObject object{};
    object.Kind = in.ReadU8();
    object.Room = in.ReadU8();
    object.OnFloor = in.ReadU8();
    object.Reserved1 = in.ReadU8();
    object.X = in.ReadI32();
    object.Y = in.ReadI32();
    object.Z = in.ReadI32();
    object.Angle = in.ReadU16();
    object.Type = in.ReadI16();
    object.Flags = in.ReadU16();
    object.Reserved2 = in.ReadU16();
    object.Intensity = in.ReadI32();
    object.Intensity2 = in.ReadI32();
    object.Fade = in.ReadU32();
    object.Colour = in.ReadU32();
    return object;
}

BlockHeader ReadBlockHeader(BinaryReader& in, const std::string& block, uint16_t version,
                            uint32_t maxCount, const std::string& things) {
    const uint16_t read = in.ReadU16();
    if (read != version) {
        throw IoError(block + " has version " + std::to_string(read) +
                      ", which this program does not read (it reads version " +
                      std::to_string(version) + ").");
    }
    BlockHeader header;
    header.Length = in.ReadU32();
    if (header.Length > in.Remaining()) {
        throw IoError(block + " is truncated: it is " +
                      std::to_string(BlockHeaderBytes + uint64_t{header.Length}) +
                      " bytes long, the file ends after " +
                      std::to_string(BlockHeaderBytes + in.Remaining()) + " of them.");
    }
    if (header.Length < CountBytes) {
        throw IoError(block + " has a length of " + std::to_string(header.Length) +
                      " bytes, too short for its count.");
    }
    header.Count = in.ReadU32();
    if (header.Count > maxCount) {
        throw IoError(block + " holds " + std::to_string(header.Count) + " " + things +
                      ", above the limit of " + std::to_string(maxCount) + ".");
    }
    return header;
}

void WriteObjectsBlock(BinaryWriter& out, const TObjectLayer& layer) {
    const uint32_t count = std::min<uint32_t>(layer.Count, MaxObjects);
    if (count == 0) {
        return;
    }
    out.WriteBytes(ObjectsBlockTag, TagBytes);
    out.WriteU16(ObjectsBlockVersion);
    out.WriteU32(static_cast<uint32_t>(CountBytes + count * ObjectRecordBytes));
    out.WriteU32(count);
    for (uint32_t i = 0; i < count; ++i) {
        WriteObjectRecord(out, layer.Objects[i]);
    }
}

ProjectBlocks ReadProjectBlocks(BinaryReader& in) {
    ProjectBlocks blocks;
    bool objectsRead = false, triggersRead = false, flipMapsRead = false;
    while (!in.AtEnd()) {
        const uint64_t start = in.Position();
        char tag[TagBytes] = {};
        const std::size_t tagSize =
            static_cast<std::size_t>(std::min<uint64_t>(TagBytes, in.Remaining()));
        in.ReadBytes(tag, tagSize);
        const bool objects = std::memcmp(tag, ObjectsBlockTag, tagSize) == 0;
        const bool triggers = !objects && std::memcmp(tag, TriggersBlockTag, tagSize) == 0;
        const bool flipMaps =
            !objects && !triggers && std::memcmp(tag, FlipMapsBlockTag, tagSize) == 0;
        if (!objects && !triggers && !flipMaps) {
            throw IoError("an unknown block (tag \"" + TagText(tag, tagSize) +
                          "\") follows the rooms at byte " + std::to_string(start) + ".");
        }
        const std::string block = objects ? BlockAt(start)
                                  : flipMaps
                                      ? FlipMapsBlockAt(start)
                                      : "the triggers block at byte " + std::to_string(start);
        if (in.Remaining() + tagSize < BlockHeaderBytes) {
            throw IoError(block + " is truncated: the file ends within its " +
                          std::to_string(BlockHeaderBytes) + "-byte header.");
        }
        bool& read = objects ? objectsRead : triggers ? triggersRead : flipMapsRead;
        if (read) {
            throw IoError(block + (objects    ? " is a second objects block."
                                   : triggers ? " is a second triggers block."
                                              : " is a second alternate-rooms block."));
        }
        if (objects) {
            ReadObjectsPayload(in, start, blocks);
        } else if (triggers) {
            ReadTriggersPayload(in, start, blocks.Triggers);
        } else {
            blocks.FlipLinks = ReadFlipMapsPayload(in, start);
        }
        read = true;
    }
    return blocks;
}

std::unique_ptr<TEditorProject> ProjectOfGrids(const std::vector<RoomGrid>& rooms) {
    auto project = std::make_unique<TEditorProject>();
    project->RoomCount = static_cast<uint8_t>(std::min<std::size_t>(rooms.size(), MaxRooms));
    for (int r = 1; r <= project->RoomCount; ++r) {
        project->Room(r).XSectors = rooms[static_cast<std::size_t>(r - 1)].XSectors;
        project->Room(r).ZSectors = rooms[static_cast<std::size_t>(r - 1)].ZSectors;
    }
    return project;
}

std::string ObjectsBlockProblem(const std::vector<TEditorObject>& objects,
                                const std::vector<RoomGrid>& rooms, ObjectCounts& counts) {
    counts = {};
    if (objects.empty()) {
        return {};
    }
    const std::unique_ptr<TEditorProject> check = ProjectOfGrids(rooms);
    const std::string problem = ReplaceObjectLayer(*check, objects);
    if (!problem.empty()) {
        return "in the objects block, " + problem + ".";
    }
    counts = CountObjects(*check);
    return {};
}

} // namespace morvane
