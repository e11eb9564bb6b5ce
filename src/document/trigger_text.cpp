#include "document/trigger_text.h"

#include "document/object_operations.h"
#include "document/trigger_operations.h"

#include <algorithm>
#include <cctype>

namespace morvane {

namespace {

// What an object action does under the trigger's kind: the anti kinds switch their objects off,
// the switches toggle them, the others switch them on.
const char* ObjectVerb(TriggerKind kind) {
    switch (kind) {
    case TriggerKind::Antipad:
    case TriggerKind::Antitrigger:
    case TriggerKind::HeavyAntitrigger:
        return "switch off";
    case TriggerKind::Switch:
    case TriggerKind::HeavySwitch:
        return "toggle";
    default:
        return "activate";
    }
}

std::string Title(const char* name) {
    std::string words = name;
    std::replace(words.begin(), words.end(), '_', ' ');
    if (!words.empty()) {
        words.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(words.front())));
    }
    return words;
}

std::string KindWords(TriggerKind kind) {
    const std::string words = TriggerKindTitle(kind);
    return kind == TriggerKind::Trigger ? words : words + " trigger";
}

std::string MaskBits(int mask) {
    std::string bits;
    for (int bit = 4; bit >= 0; --bit) {
        bits += (mask >> bit) & 1 ? '1' : '0';
    }
    return bits;
}

} // namespace

std::string TriggerKindTitle(TriggerKind kind) {
    return Title(TriggerKindName(kind));
}

std::string TriggerActionTitle(TriggerActionKind kind) {
    return Title(TriggerActionName(kind));
}

std::string TriggerActionText(const TEditorTrigger& trigger, const TTriggerAction& action,
                              const TriggerObjectLabel& label) {
    const std::string value = std::to_string(action.Value);
    switch (action.KindOf()) {
    case TriggerActionKind::Object:
        return std::string(ObjectVerb(trigger.KindOf())) + " " + label(action.Value);
    case TriggerActionKind::Camera:
        return "camera " + label(action.Value) + " for " + std::to_string(action.Seconds) + " s" +
               (action.Once ? ", only once" : "");
    case TriggerActionKind::Current:
        return "current towards " + label(action.Value);
    case TriggerActionKind::FlipMap:
        return "toggle flip map " + value;
    case TriggerActionKind::FlipOn:
        return "flip map " + value + " on";
    case TriggerActionKind::FlipOff:
        return "flip map " + value + " off";
    case TriggerActionKind::LookAt:
        return "look at " + label(action.Value);
    case TriggerActionKind::EndLevel:
        return "end of the level";
    case TriggerActionKind::Soundtrack:
        return "soundtrack " + value;
    case TriggerActionKind::FlipEffect:
        return "flip effect " + value;
    case TriggerActionKind::Secret:
        return "secret " + value;
    case TriggerActionKind::ClearBodies:
        return "clear the bodies";
    }
    return "action " + std::to_string(action.Kind);
}

std::string TriggerStatusText(const TEditorTrigger& trigger, const TriggerObjectLabel& label) {
    std::string text = KindWords(trigger.KindOf()) + ", room " + std::to_string(trigger.Room) +
                       ", column " + std::to_string(trigger.Column) + ", row " +
                       std::to_string(trigger.Row) + ":";
    std::string fields;
    auto add = [&fields](const std::string& field) {
        fields += (fields.empty() ? " " : ", ") + field;
    };
    if (trigger.Timer != 0) {
        add("timer " + std::to_string(trigger.Timer) + " s");
    }
    if (trigger.Once != 0) {
        add("once");
    }
    add("mask " + MaskBits(trigger.Mask));
    if (trigger.Object != NoTriggerObject) {
        add("tied to " + label(trigger.Object));
    }
    text += fields;
    const int count = std::min<int>(trigger.ActionCount, MaxTriggerActions);
    for (int i = 0; i < count; ++i) {
        text += (i == 0 ? "; " : ", ") + TriggerActionText(trigger, trigger.Actions[i], label);
    }
    if (trigger.Death != 0) {
        text += "; the floor kills Lara";
    }
    return text;
}

std::vector<int> TriggerTargetObjects(const TEditorProject& project,
                                      const TEditorTrigger& trigger) {
    std::vector<int> targets;
    auto add = [&](int index) {
        if (HasObject(project, index) &&
            std::find(targets.begin(), targets.end(), index) == targets.end()) {
            targets.push_back(index);
        }
    };
    add(trigger.Object);
    const int count = std::min<int>(trigger.ActionCount, MaxTriggerActions);
    for (int i = 0; i < count; ++i) {
        const TriggerActionKind kind = trigger.Actions[i].KindOf();
        if (TriggerActionNamesObject(kind) || TriggerActionNamesCamera(kind)) {
            add(trigger.Actions[i].Value);
        }
    }
    return targets;
}

std::vector<int> RoomTriggerKinds(const TEditorProject& project, int room) {
    if (room < 1 || room > project.RoomCount || room > MaxRooms) {
        return {};
    }
    const TEditorRoom& r = project.Room(room);
    std::vector<int> kinds(static_cast<size_t>(std::max<int64_t>(0, r.SectorCount())), -1);
    const TTriggerLayer& layer = project.Triggers;
    for (uint32_t i = 0; i < std::min<uint32_t>(layer.Count, MaxTriggers); ++i) {
        const TEditorTrigger& t = layer.Triggers[i];
        if (t.Room != room || t.Column < 1 || t.Column > r.XSectors || t.Row < 1 ||
            t.Row > r.ZSectors) {
            continue;
        }
        kinds[static_cast<size_t>((t.Column - 1) * r.ZSectors + t.Row - 1)] = t.Kind;
    }
    return kinds;
}

} // namespace morvane
