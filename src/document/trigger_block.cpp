#include "document/trigger_block.h"

#include "document/project.h"
#include "document/trigger_operations.h"
#include "io/binary_reader.h"
#include "io/binary_writer.h"
#include "io/io_error.h"
#include "level/level_format.h"

#include <algorithm>
#include <memory>

namespace morvane {

namespace {

constexpr std::size_t CountBytes = 4;

std::string BlockAt(uint64_t offset) {
    return "the triggers block at byte " + std::to_string(offset);
}

uint64_t RecordBytes(const TEditorTrigger& trigger) {
    return TriggerRecordBytes + uint64_t{trigger.ActionCount} * TriggerActionBytes;
}

} // namespace

void WriteTriggersBlock(BinaryWriter& out, const TTriggerLayer& layer) {
    const uint32_t count = std::min<uint32_t>(layer.Count, MaxTriggers);
    if (count == 0) {
        return;
    }
    uint64_t length = CountBytes;
    for (uint32_t i = 0; i < count; ++i) {
        length += RecordBytes(layer.Triggers[i]);
    }
    out.WriteBytes(TriggersBlockTag, 4);
    out.WriteU16(TriggersBlockVersion);
    out.WriteU32(static_cast<uint32_t>(length));
    out.WriteU32(count);
    for (uint32_t i = 0; i < count; ++i) {
        const TEditorTrigger& t = layer.Triggers[i];
        out.WriteU8(t.Room);
        out.WriteU8(t.Column);
        out.WriteU8(t.Row);
        out.WriteU8(t.Kind);
        out.WriteU8(t.Timer);
        out.WriteU8(t.Once);
        out.WriteU8(t.Mask);
        out.WriteU8(t.Death);
        out.WriteI16(t.Object);
        const int actions = std::min<int>(t.ActionCount, MaxTriggerActions);
        out.WriteU8(static_cast<uint8_t>(actions));
        out.WriteU8(t.SetupBits);
        for (int a = 0; a < actions; ++a) {
            const TTriggerAction& action = t.Actions[a];
            out.WriteU8(action.Kind);
            out.WriteU8(action.Seconds);
            out.WriteU8(action.Once);
            out.WriteU8(action.CameraBits);
            out.WriteI16(action.Value);
            out.WriteU16(action.Reserved);
        }
    }
}

void ReadTriggersPayload(BinaryReader& in, uint64_t start, std::vector<TEditorTrigger>& triggers) {
    const auto [length, count] =
        ReadBlockHeader(in, BlockAt(start), TriggersBlockVersion, MaxTriggers, "triggers");
    uint64_t used = CountBytes;
    triggers.assign(count, TEditorTrigger{});
    for (uint32_t i = 0; i < count; ++i) {
        if (used + TriggerRecordBytes > length) {
            throw IoError(BlockAt(start) + " has a length of " + std::to_string(length) +
                          " bytes, which ends within trigger " + std::to_string(i) + " of its " +
                          std::to_string(count) + ".");
        }
        TEditorTrigger& t = triggers[i];
        t.Room = in.ReadU8();
        t.Column = in.ReadU8();
        t.Row = in.ReadU8();
        t.Kind = in.ReadU8();
        t.Timer = in.ReadU8();
        t.Once = in.ReadU8();
        t.Mask = in.ReadU8();
        t.Death = in.ReadU8();
        t.Object = in.ReadI16();
        t.ActionCount = in.ReadU8();
        t.SetupBits = in.ReadU8();
        if (t.ActionCount > MaxTriggerActions) {
            throw IoError(BlockAt(start) + ": trigger " + std::to_string(i) + " has " +
                          std::to_string(t.ActionCount) + " actions, above the limit of " +
                          std::to_string(MaxTriggerActions) + ".");
        }
        used += RecordBytes(t);
        if (used > length) {
            throw IoError(BlockAt(start) + " has a length of " + std::to_string(length) +
                          " bytes, which ends within the actions of trigger " + std::to_string(i) +
                          ".");
        }
        for (int a = 0; a < t.ActionCount; ++a) {
            TTriggerAction& action = t.Actions[a];
            action.Kind = in.ReadU8();
            action.Seconds = in.ReadU8();
            action.Once = in.ReadU8();
            action.CameraBits = in.ReadU8();
            action.Value = in.ReadI16();
            action.Reserved = in.ReadU16();
        }
    }
    if (used != length) {
        throw IoError(BlockAt(start) + " has a length of " + std::to_string(length) +
                      " bytes, which does not fit its " + std::to_string(count) + " triggers (" +
                      std::to_string(used) + " bytes).");
    }
}

std::string TriggersBlockProblem(const std::vector<TEditorTrigger>& triggers,
                                 const std::vector<RoomGrid>& rooms,
                                 const std::vector<TEditorObject>& objects) {
    if (triggers.empty()) {
        return {};
    }
    const std::unique_ptr<TEditorProject> check = ProjectOfGrids(rooms);
    const std::size_t objectCount = std::min<std::size_t>(objects.size(), MaxObjects);
    std::copy_n(objects.begin(), objectCount, check->Objects.Objects);
    check->Objects.Count = static_cast<uint32_t>(objectCount);
    const std::string problem = ReplaceTriggerLayer(*check, triggers, FormatNone);
    return problem.empty() ? problem : "in the triggers block, " + problem + ".";
}

} // namespace morvane
