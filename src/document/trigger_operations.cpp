#include "document/trigger_operations.h"

#include "document/object_operations.h"
#include "level/level_format.h"

#include <algorithm>
#include <cstring>

namespace morvane {

static_assert(TriggersLayerIndex == ObjectTriggersLayerIndex);

namespace {

constexpr const char* KindNames[] = {
    "trigger", "pad",    "switch", "key",         "pickup",       "heavy",
    "antipad", "combat", "dummy",  "antitrigger", "heavy_switch", "heavy_antitrigger",
    "monkey",
};
static_assert(std::size(KindNames) == LastTriggerKind + 1);

constexpr const char* ActionNames[] = {
    "activate", "camera",    "current",    "flip_map",    "flip_on", "flip_off",
    "look_at",  "end_level", "soundtrack", "flip_effect", "secret",  "clear_bodies",
};
static_assert(std::size(ActionNames) == LastTriggerActionKind + 1);

DocumentOutcome Changed() {
    DocumentOutcome outcome;
    outcome.Redraw = true;
    return outcome;
}

std::string LayoutText(int32_t layout) {
    switch (layout) {
    case FormatTR1:
    case FormatTUB:
        return "the first game";
    case FormatTR2:
        return "the second game";
    default:
        return "the third game";
    }
}

std::optional<TriggerFieldProblem> Range(const std::string& field, int64_t value, int64_t low,
                                         int64_t high) {
    if (value < low || value > high) {
        return TriggerFieldProblem{field, std::to_string(value) + " is outside " +
                                              std::to_string(low) + " to " + std::to_string(high)};
    }
    return std::nullopt;
}

std::string WithArticle(ObjectKind kind) {
    return std::string(kind == ObjectKind::Item ? "an " : "a ") + ObjectKindName(kind);
}

// The object an action or a tied trigger names: there, and of the kind it must be.
std::optional<TriggerFieldProblem>
NamedObject(const TEditorProject& project, const std::string& field, int index, ObjectKind kind) {
    if (!HasObject(project, index)) {
        return TriggerFieldProblem{field, "object " + std::to_string(index) +
                                              " does not exist (the project has " +
                                              std::to_string(project.Objects.Count) + ")"};
    }
    const TEditorObject& object = project.Objects.Objects[index];
    if (!object.Is(kind)) {
        return TriggerFieldProblem{field, "object " + std::to_string(index) + " is " +
                                              WithArticle(object.KindOf()) + ", not " +
                                              WithArticle(kind)};
    }
    return std::nullopt;
}

std::optional<TriggerFieldProblem> CheckAction(const TEditorProject& project,
                                               const TTriggerAction& action, int32_t layout,
                                               const std::string& at) {
    if (action.Kind > LastTriggerActionKind) {
        return TriggerFieldProblem{at + "do", "unknown action " + std::to_string(action.Kind)};
    }
    const auto kind = action.KindOf();
    if (!LayoutHasTriggerAction(layout, action.Kind)) {
        return TriggerFieldProblem{at + "do", std::string("\"") + TriggerActionName(kind) +
                                                  "\", which " + LayoutText(layout) +
                                                  " does not have"};
    }
    if (kind != TriggerActionKind::Camera && (action.Seconds || action.Once || action.CameraBits)) {
        return TriggerFieldProblem{at + "seconds", "only a camera action has seconds"};
    }
    switch (kind) {
    case TriggerActionKind::Object:
    case TriggerActionKind::LookAt:
        return NamedObject(project, at + "object", action.Value, ObjectKind::Item);
    case TriggerActionKind::Camera:
        if (auto problem = Range(at + "once", action.Once, 0, 1)) {
            return problem;
        }
        if (auto problem = Range(at + "camera_bits", action.CameraBits, 0, 63)) {
            return problem;
        }
        return NamedObject(project, at + "camera", action.Value, ObjectKind::Camera);
    case TriggerActionKind::Current:
        return NamedObject(project, at + "camera", action.Value, ObjectKind::Camera);
    default:
        break;
    }
    const TriggerNumberRange numbers = TriggerActionNumbers(kind);
    return Range(at + "number", action.Value, numbers.Lowest, numbers.Highest);
}

// Whether the trigger lies on one of the sectors.
bool OnSectors(const TEditorTrigger& trigger, const std::vector<TriggerSector>& sectors) {
    return std::any_of(sectors.begin(), sectors.end(), [&](const TriggerSector& s) {
        return s.Room == trigger.Room && s.Column == trigger.Column && s.Row == trigger.Row;
    });
}

void ClearFrom(TTriggerLayer& layer, uint32_t from, uint32_t to) {
    for (uint32_t i = from; i < to; ++i) {
        layer.Triggers[i] = TEditorTrigger{};
    }
}

} // namespace

const char* TriggerKindName(TriggerKind kind) {
    const auto k = static_cast<int>(kind);
    return k <= LastTriggerKind ? KindNames[k] : "unknown";
}

std::optional<TriggerKind> TriggerKindOfName(const std::string& name) {
    for (int k = 0; k <= LastTriggerKind; ++k) {
        if (name == KindNames[k]) {
            return static_cast<TriggerKind>(k);
        }
    }
    return std::nullopt;
}

const char* TriggerActionName(TriggerActionKind kind) {
    const auto k = static_cast<int>(kind);
    return k <= LastTriggerActionKind ? ActionNames[k] : "unknown";
}

std::optional<TriggerActionKind> TriggerActionOfName(const std::string& name) {
    for (int k = 0; k <= LastTriggerActionKind; ++k) {
        if (name == ActionNames[k]) {
            return static_cast<TriggerActionKind>(k);
        }
    }
    return std::nullopt;
}

bool LayoutHasTriggerKind(int32_t layout, int kind) {
    const bool thirdGame = layout != FormatTR1 && layout != FormatTUB && layout != FormatTR2;
    return kind >= 0 && kind <= (thirdGame ? LastTriggerKind : LastTriggerKindOfSecondGame);
}

bool LayoutHasTriggerAction(int32_t layout, int action) {
    if (action < 0 || action > LastTriggerActionKind) {
        return false;
    }
    const bool firstGame = layout == FormatTR1 || layout == FormatTUB;
    const auto kind = static_cast<TriggerActionKind>(action);
    return !(firstGame &&
             (kind == TriggerActionKind::Current || kind == TriggerActionKind::ClearBodies));
}

bool TriggerKindTiesObject(TriggerKind kind) {
    return kind == TriggerKind::Switch || kind == TriggerKind::Key || kind == TriggerKind::Pickup;
}

bool TriggerActionNamesObject(TriggerActionKind kind) {
    return kind == TriggerActionKind::Object || kind == TriggerActionKind::LookAt;
}

bool TriggerActionNamesCamera(TriggerActionKind kind) {
    return kind == TriggerActionKind::Camera || kind == TriggerActionKind::Current;
}

TEditorTrigger NewTrigger(int room, int column, int row, TriggerKind kind) {
    TEditorTrigger trigger{};
    trigger.Room = static_cast<uint8_t>(room);
    trigger.Column = static_cast<uint8_t>(column);
    trigger.Row = static_cast<uint8_t>(row);
    trigger.Kind = static_cast<uint8_t>(kind);
    trigger.Mask = MaxTriggerMask;
    trigger.Object = NoTriggerObject;
    return trigger;
}

TTriggerAction NewTriggerAction(TriggerActionKind kind, int value, int seconds, bool once) {
    TTriggerAction action{};
    action.Kind = static_cast<uint8_t>(kind);
    action.Value = static_cast<int16_t>(value);
    action.Seconds = static_cast<uint8_t>(seconds);
    action.Once = once ? 1 : 0;
    return action;
}

TEditorTrigger WithTriggerKind(TEditorTrigger trigger, TriggerKind kind, int item) {
    trigger.Kind = static_cast<uint8_t>(kind);
    if (!TriggerKindTiesObject(kind)) {
        trigger.Object = NoTriggerObject;
    } else if (trigger.Object == NoTriggerObject) {
        trigger.Object = static_cast<int16_t>(item);
    }
    return trigger;
}

TTriggerAction WithActionKind(const TTriggerAction& action, TriggerActionKind kind, int item,
                              int camera) {
    const TriggerActionKind was = action.KindOf();
    int value = TriggerActionNumbers(kind).Lowest;
    if (TriggerActionNamesObject(kind)) {
        value = TriggerActionNamesObject(was) ? action.Value : item;
    } else if (TriggerActionNamesCamera(kind)) {
        value = TriggerActionNamesCamera(was) ? action.Value : camera;
    } else if (TriggerActionNumbers(was).Highest > 0) {
        value = std::clamp<int>(action.Value, TriggerActionNumbers(kind).Lowest,
                                TriggerActionNumbers(kind).Highest);
    }
    TTriggerAction changed = NewTriggerAction(kind, value);
    if (kind == TriggerActionKind::Camera && was == TriggerActionKind::Camera) {
        changed = action;
    }
    return changed;
}

TriggerNumberRange TriggerActionNumbers(TriggerActionKind kind) {
    switch (kind) {
    case TriggerActionKind::FlipMap:
    case TriggerActionKind::FlipOn:
    case TriggerActionKind::FlipOff:
        return {0, MaxFlipMapNumber};
    case TriggerActionKind::Soundtrack:
    case TriggerActionKind::FlipEffect:
        return {0, MaxTriggerParameter};
    case TriggerActionKind::Secret:
        return {1, MaxSecretNumber};
    default:
        return {};
    }
}

std::optional<TriggerFieldProblem>
CheckTriggerFields(const TEditorProject& project, const TEditorTrigger& trigger, int32_t layout) {
    if (trigger.Room < 1 || trigger.Room > project.RoomCount) {
        return TriggerFieldProblem{"room", "room " + std::to_string(trigger.Room) +
                                               " does not exist (the project has " +
                                               std::to_string(project.RoomCount) + ")"};
    }
    const TEditorRoom& room = project.Room(trigger.Room);
    if (auto problem = Range("column", trigger.Column, 1, room.XSectors)) {
        problem->Text += " (the columns of room " + std::to_string(trigger.Room) + ")";
        return problem;
    }
    if (auto problem = Range("row", trigger.Row, 1, room.ZSectors)) {
        problem->Text += " (the rows of room " + std::to_string(trigger.Room) + ")";
        return problem;
    }
    if (trigger.Kind > LastTriggerKind) {
        return TriggerFieldProblem{"kind", "unknown kind " + std::to_string(trigger.Kind)};
    }
    if (!LayoutHasTriggerKind(layout, trigger.Kind)) {
        return TriggerFieldProblem{"kind", std::string("\"") + TriggerKindName(trigger.KindOf()) +
                                               "\", which " + LayoutText(layout) +
                                               " does not have"};
    }
    for (auto problem :
         {Range("once", trigger.Once, 0, 1), Range("mask", trigger.Mask, 0, MaxTriggerMask),
          Range("death", trigger.Death, 0, 1), Range("setup_bits", trigger.SetupBits, 0, 3),
          Range("actions", trigger.ActionCount, 0, MaxTriggerActions)}) {
        if (problem) {
            return problem;
        }
    }
    if (TriggerKindTiesObject(trigger.KindOf())) {
        if (auto problem = NamedObject(project, "object", trigger.Object, ObjectKind::Item)) {
            return problem;
        }
    } else if (trigger.Object != NoTriggerObject) {
        return TriggerFieldProblem{"object", std::string("a ") + TriggerKindName(trigger.KindOf()) +
                                                 " trigger is tied to no object"};
    }
    for (int a = 0; a < trigger.ActionCount; ++a) {
        const std::string at = "actions[" + std::to_string(a) + "].";
        if (auto problem = CheckAction(project, trigger.Actions[a], layout, at)) {
            return problem;
        }
    }
    return std::nullopt;
}

int TriggerAt(const TEditorProject& project, int room, int column, int row) {
    const TTriggerLayer& layer = project.Triggers;
    for (uint32_t i = 0; i < std::min<uint32_t>(layer.Count, MaxTriggers); ++i) {
        const TEditorTrigger& t = layer.Triggers[i];
        if (t.Room == room && t.Column == column && t.Row == row) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string TriggerPlaceText(const TEditorTrigger& trigger) {
    return "the trigger of room " + std::to_string(trigger.Room) + ", column " +
           std::to_string(trigger.Column) + ", row " + std::to_string(trigger.Row);
}

DocumentOutcome SetTriggers(TEditorProject& project, int32_t layout,
                            const std::vector<TriggerSector>& sectors,
                            const TEditorTrigger& trigger) {
    TTriggerLayer& layer = project.Triggers;
    int added = 0;
    for (const TriggerSector& s : sectors) {
        TEditorTrigger placed = trigger;
        placed.Room = static_cast<uint8_t>(std::clamp(s.Room, 0, 255));
        placed.Column = static_cast<uint8_t>(std::clamp(s.Column, 0, 255));
        placed.Row = static_cast<uint8_t>(std::clamp(s.Row, 0, 255));
        if (s.Room != placed.Room || s.Column != placed.Column || s.Row != placed.Row) {
            return DocumentOutcome::Refusal(
                "The trigger was not set: room " + std::to_string(s.Room) + ", column " +
                std::to_string(s.Column) + ", row " + std::to_string(s.Row) + " is not a sector.");
        }
        if (const auto problem = CheckTriggerFields(project, placed, layout)) {
            return DocumentOutcome::Refusal("The trigger was not set: " + TriggerPlaceText(placed) +
                                            " has its " + problem->Field + " " + problem->Text +
                                            ".");
        }
        added += TriggerAt(project, placed.Room, placed.Column, placed.Row) < 0 ? 1 : 0;
    }
    if (layer.Count + static_cast<uint32_t>(added) > static_cast<uint32_t>(MaxTriggers)) {
        return DocumentOutcome::Refusal("The project holds at most " + std::to_string(MaxTriggers) +
                                        " triggers; the trigger was not set.");
    }
    bool changed = false;
    for (const TriggerSector& s : sectors) {
        TEditorTrigger placed = trigger;
        placed.Room = static_cast<uint8_t>(s.Room);
        placed.Column = static_cast<uint8_t>(s.Column);
        placed.Row = static_cast<uint8_t>(s.Row);
        const int at = TriggerAt(project, s.Room, s.Column, s.Row);
        TEditorTrigger& target = at >= 0 ? layer.Triggers[at] : layer.Triggers[layer.Count++];
        if (at < 0 || std::memcmp(&target, &placed, sizeof(placed)) != 0) {
            target = placed;
            changed = true;
        }
    }
    return changed ? Changed() : DocumentOutcome{};
}

DocumentOutcome DeleteTriggers(TEditorProject& project, const std::vector<TriggerSector>& sectors) {
    TTriggerLayer& layer = project.Triggers;
    const uint32_t count = std::min<uint32_t>(layer.Count, MaxTriggers);
    uint32_t kept = 0;
    for (uint32_t i = 0; i < count; ++i) {
        if (!OnSectors(layer.Triggers[i], sectors)) {
            layer.Triggers[kept++] = layer.Triggers[i];
        }
    }
    ClearFrom(layer, kept, count);
    layer.Count = kept;
    return kept != count ? Changed() : DocumentOutcome{};
}

std::string ReplaceTriggerLayer(TEditorProject& project,
                                const std::vector<TEditorTrigger>& triggers, int32_t layout) {
    if (triggers.size() > static_cast<std::size_t>(MaxTriggers)) {
        return "The project holds at most " + std::to_string(MaxTriggers) + " triggers; " +
               std::to_string(triggers.size()) + " were given";
    }
    std::vector<uint32_t> places; // room, column and row of each, to find a sector used twice
    for (std::size_t i = 0; i < triggers.size(); ++i) {
        const TEditorTrigger& t = triggers[i];
        const std::string at = "triggers[" + std::to_string(i) + "].";
        if (const auto problem = CheckTriggerFields(project, t, layout)) {
            return at + problem->Field + ": " + problem->Text;
        }
        places.push_back(uint32_t{t.Room} << 16 | uint32_t{t.Column} << 8 | t.Row);
    }
    std::vector<uint32_t> sorted = places;
    std::sort(sorted.begin(), sorted.end());
    if (const auto twice = std::adjacent_find(sorted.begin(), sorted.end());
        twice != sorted.end()) {
        const auto first = std::find(places.begin(), places.end(), *twice);
        const auto second = std::find(first + 1, places.end(), *twice);
        return "triggers[" + std::to_string(second - places.begin()) +
               "].room: its sector already has triggers[" + std::to_string(first - places.begin()) +
               "]; a sector holds one trigger";
    }
    TTriggerLayer& layer = project.Triggers;
    const uint32_t oldCount = std::min<uint32_t>(layer.Count, MaxTriggers);
    std::copy(triggers.begin(), triggers.end(), layer.Triggers);
    layer.Count = static_cast<uint32_t>(triggers.size());
    ClearFrom(layer, layer.Count, oldCount);
    return {};
}

namespace {

// Goes over the layer trigger by trigger: a trigger `keepTrigger` refuses goes, an action
// `keepAction` refuses goes from its trigger, and the rest close up. Either may change what it
// keeps. Returns whether anything went.
template <class KeepTrigger, class KeepAction>
bool FilterTriggers(TTriggerLayer& layer, KeepTrigger keepTrigger, KeepAction keepAction) {
    const uint32_t count = std::min<uint32_t>(layer.Count, MaxTriggers);
    uint32_t kept = 0;
    bool dropped = false;
    for (uint32_t i = 0; i < count; ++i) {
        TEditorTrigger t = layer.Triggers[i];
        if (!keepTrigger(t)) {
            dropped = true;
            continue;
        }
        int actions = 0;
        for (int a = 0; a < std::min<int>(t.ActionCount, MaxTriggerActions); ++a) {
            TTriggerAction action = t.Actions[a];
            if (!keepAction(action)) {
                dropped = true;
                continue;
            }
            t.Actions[actions++] = action;
        }
        for (int a = actions; a < MaxTriggerActions; ++a) {
            t.Actions[a] = TTriggerAction{};
        }
        t.ActionCount = static_cast<uint8_t>(actions);
        layer.Triggers[kept++] = t;
    }
    ClearFrom(layer, kept, count);
    layer.Count = kept;
    return dropped;
}

bool NamesObject(const TTriggerAction& action) {
    return TriggerActionNamesObject(action.KindOf()) || TriggerActionNamesCamera(action.KindOf());
}

} // namespace

bool ForgetTriggerObject(TEditorProject& project, int index) {
    bool renumbered = false;
    const auto renumber = [&](int16_t& value) {
        if (value > index) {
            --value;
            renumbered = true;
        }
    };
    const bool dropped = FilterTriggers(
        project.Triggers,
        [&](TEditorTrigger& t) {
            if (t.Object == index) {
                return false; // a switch without its switch is no trigger
            }
            renumber(t.Object);
            return true;
        },
        [&](TTriggerAction& action) {
            if (!NamesObject(action)) {
                return true;
            }
            if (action.Value == index) {
                return false;
            }
            renumber(action.Value);
            return true;
        });
    return dropped || renumbered;
}

bool ForgetMissingTriggerObjects(TEditorProject& project) {
    const auto is = [&](int index, ObjectKind kind) {
        return HasObject(project, index) && project.Objects.Objects[index].Is(kind);
    };
    return FilterTriggers(
        project.Triggers,
        [&](const TEditorTrigger& t) {
            return !TriggerKindTiesObject(t.KindOf()) || is(t.Object, ObjectKind::Item);
        },
        [&](const TTriggerAction& action) {
            const auto kind = action.KindOf();
            return !(TriggerActionNamesObject(kind) && !is(action.Value, ObjectKind::Item)) &&
                   !(TriggerActionNamesCamera(kind) && !is(action.Value, ObjectKind::Camera));
        });
}

namespace {

// Keeps the triggers `keep` says yes to, in their order.
template <class Keep> bool KeepTriggers(TEditorProject& project, Keep keep) {
    TTriggerLayer& layer = project.Triggers;
    const uint32_t count = std::min<uint32_t>(layer.Count, MaxTriggers);
    uint32_t kept = 0;
    for (uint32_t i = 0; i < count; ++i) {
        if (keep(layer.Triggers[i])) {
            layer.Triggers[kept++] = layer.Triggers[i];
        }
    }
    ClearFrom(layer, kept, count);
    layer.Count = kept;
    return kept != count;
}

} // namespace

bool DropTriggersOfMissingRooms(TEditorProject& project) {
    return KeepTriggers(project,
                        [&](const TEditorTrigger& t) { return t.Room <= project.RoomCount; });
}

bool DropTriggersOutsideRoomGrid(TEditorProject& project, int room) {
    if (room < 1 || room > project.RoomCount) {
        return false;
    }
    const TEditorRoom& grid = project.Room(room);
    return KeepTriggers(project, [&](const TEditorTrigger& t) {
        return t.Room != room || (t.Column <= grid.XSectors && t.Row <= grid.ZSectors);
    });
}

} // namespace morvane
