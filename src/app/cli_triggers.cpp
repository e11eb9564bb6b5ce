#include "app/cli_triggers.h"

#include "document/trigger_operations.h"

#include <algorithm>
#include <limits>

namespace morvane {

namespace {

constexpr const char* TriggersKey = "triggers";

std::string Quoted(const Json& value) {
    std::string text = value.dump(-1, ' ', /*ensure_ascii=*/true);
    if (text.size() > 40) {
        text = text.substr(0, 37) + "...";
    }
    return text;
}

// The key an action's value goes under.
const char* ValueKey(TriggerActionKind kind) {
    if (TriggerActionNamesObject(kind)) {
        return "object";
    }
    if (TriggerActionNamesCamera(kind)) {
        return "camera";
    }
    if (kind == TriggerActionKind::EndLevel || kind == TriggerActionKind::ClearBodies) {
        return nullptr;
    }
    return "number";
}

Json ActionJson(const TTriggerAction& action) {
    const TriggerActionKind kind = action.KindOf();
    Json entry = {{"do", TriggerActionName(kind)}};
    if (const char* key = ValueKey(kind)) {
        entry[key] = action.Value;
    }
    if (kind == TriggerActionKind::Camera) {
        entry["seconds"] = action.Seconds;
        entry["once"] = action.Once != 0;
        if (action.CameraBits != 0) {
            entry["camera_bits"] = action.CameraBits;
        }
    }
    return entry;
}

// Reads the fields of one JSON object with their checks, naming the place in messages.
class FieldReader {
public:
    FieldReader(const Json& entry, std::string at) : entry_(entry), at_(std::move(at)) {}

    const std::string& Problem() const { return problem_; }
    const std::string& At() const { return at_; }

    bool Keys(const std::vector<std::string>& allowed) {
        if (!entry_.is_object()) {
            return Fail(at_ + ": not a JSON object but " + Quoted(entry_));
        }
        for (const auto& [key, value] : entry_.items()) {
            if (std::find(allowed.begin(), allowed.end(), key) == allowed.end()) {
                std::string list;
                for (const std::string& name : allowed) {
                    list += (list.empty() ? "" : ", ") + name;
                }
                return Fail(at_ + ": unknown key " + Quoted(Json(key)) + " (the keys are " + list +
                            ")");
            }
        }
        return true;
    }

    // An integer in a range; a missing key takes `fallback` unless it is required.
    bool Integer(const std::string& key, int64_t min, int64_t max, int64_t& value,
                 std::optional<int64_t> fallback = std::nullopt) {
        const auto field = entry_.find(key);
        if (field == entry_.end()) {
            if (!fallback) {
                return Fail(at_ + "." + key + ": missing");
            }
            value = *fallback;
            return true;
        }
        if (!field->is_number_integer() ||
            (field->is_number_unsigned() &&
             field->get<uint64_t>() > uint64_t{std::numeric_limits<int64_t>::max()})) {
            return Fail(at_ + "." + key + ": not an integer but " + Quoted(*field));
        }
        value = field->get<int64_t>();
        if (value < min || value > max) {
            return Fail(at_ + "." + key + ": " + Quoted(*field) + " is outside " +
                        std::to_string(min) + " to " + std::to_string(max));
        }
        return true;
    }

    bool Boolean(const std::string& key, bool& value) {
        const auto field = entry_.find(key);
        if (field == entry_.end()) {
            value = false;
            return true;
        }
        if (!field->is_boolean()) {
            return Fail(at_ + "." + key + ": not true or false but " + Quoted(*field));
        }
        value = field->get<bool>();
        return true;
    }

    bool Name(const std::string& key, std::string& value) {
        const auto field = entry_.find(key);
        if (field == entry_.end() || !field->is_string()) {
            return Fail(at_ + "." + key + ": " +
                        (field == entry_.end() ? "missing" : "not a name but " + Quoted(*field)));
        }
        value = field->get<std::string>();
        return true;
    }

    bool Fail(std::string text) {
        problem_ = std::move(text);
        return false;
    }

private:
    const Json& entry_;
    std::string at_;
    std::string problem_;
};

std::string KindList() {
    std::string list;
    for (int k = 0; k <= LastTriggerKind; ++k) {
        list +=
            (list.empty() ? "" : ", ") + std::string(TriggerKindName(static_cast<TriggerKind>(k)));
    }
    return list;
}

std::string ActionList() {
    std::string list;
    for (int k = 0; k <= LastTriggerActionKind; ++k) {
        list += (list.empty() ? "" : ", ") +
                std::string(TriggerActionName(static_cast<TriggerActionKind>(k)));
    }
    return list;
}

std::string ReadAction(const Json& entry, const std::string& at, TTriggerAction& action) {
    FieldReader in(entry, at);
    std::string name;
    if (!in.Keys({"do", "object", "camera", "number", "seconds", "once", "camera_bits"}) ||
        !in.Name("do", name)) {
        return in.Problem();
    }
    const auto kind = TriggerActionOfName(name);
    if (!kind) {
        return at + ".do: unknown action " + Quoted(Json(name)) + " (" + ActionList() + ")";
    }
    action = NewTriggerAction(*kind);
    const char* key = ValueKey(*kind);
    std::vector<std::string> allowed = {"do"};
    if (key) {
        allowed.push_back(key);
    }
    if (*kind == TriggerActionKind::Camera) {
        allowed.insert(allowed.end(), {"seconds", "once", "camera_bits"});
    }
    if (!in.Keys(allowed)) {
        return in.Problem();
    }
    int64_t value = 0;
    if (key && !in.Integer(key, std::numeric_limits<int16_t>::min(),
                           std::numeric_limits<int16_t>::max(), value)) {
        return in.Problem();
    }
    action.Value = static_cast<int16_t>(value);
    if (*kind == TriggerActionKind::Camera) {
        bool once = false;
        int64_t seconds = 0, bits = 0;
        if (!in.Integer("seconds", 0, MaxCameraSeconds, seconds, 0) || !in.Boolean("once", once) ||
            !in.Integer("camera_bits", 0, 63, bits, 0)) {
            return in.Problem();
        }
        action.Seconds = static_cast<uint8_t>(seconds);
        action.Once = once ? 1 : 0;
        action.CameraBits = static_cast<uint8_t>(bits);
    }
    return {};
}

std::string ReadTrigger(const Json& entry, std::size_t index, const TEditorProject& project,
                        int32_t layout, TEditorTrigger& trigger) {
    const std::string at = "triggers[" + std::to_string(index) + "]";
    FieldReader in(entry, at);
    if (!in.Keys({"room", "column", "row", "kind", "timer", "once", "mask", "death", "object",
                  "setup_bits", "actions"})) {
        return in.Problem();
    }
    std::string name;
    if (!in.Name("kind", name)) {
        return in.Problem();
    }
    const auto kind = TriggerKindOfName(name);
    if (!kind) {
        return at + ".kind: unknown kind " + Quoted(Json(name)) + " (" + KindList() + ")";
    }
    int64_t room = 0, column = 0, row = 0, timer = 0, mask = 0, object = 0, setupBits = 0;
    bool once = false, death = false;
    if (!in.Integer("room", 1, MaxRooms, room) || !in.Integer("column", 1, 255, column) ||
        !in.Integer("row", 1, 255, row) || !in.Integer("timer", 0, MaxTriggerTimer, timer, 0) ||
        !in.Boolean("once", once) || !in.Integer("mask", 0, MaxTriggerMask, mask, MaxTriggerMask) ||
        !in.Boolean("death", death) || !in.Integer("setup_bits", 0, 3, setupBits, 0)) {
        return in.Problem();
    }
    if (TriggerKindTiesObject(*kind) &&
        !in.Integer("object", 0, std::numeric_limits<int16_t>::max(), object)) {
        return in.Problem() + " (a " + name + " trigger names its own object)";
    }
    if (!TriggerKindTiesObject(*kind) && entry.contains("object")) {
        return at + ".object: a " + name + " trigger is tied to no object";
    }
    trigger =
        NewTrigger(static_cast<int>(room), static_cast<int>(column), static_cast<int>(row), *kind);
    trigger.Timer = static_cast<uint8_t>(timer);
    trigger.Once = once ? 1 : 0;
    trigger.Mask = static_cast<uint8_t>(mask);
    trigger.Death = death ? 1 : 0;
    trigger.SetupBits = static_cast<uint8_t>(setupBits);
    trigger.Object = TriggerKindTiesObject(*kind) ? static_cast<int16_t>(object) : NoTriggerObject;
    if (const auto actions = entry.find("actions"); actions != entry.end()) {
        if (!actions->is_array()) {
            return at + ".actions: not an array but " + Quoted(*actions);
        }
        if (actions->size() > static_cast<std::size_t>(MaxTriggerActions)) {
            return at + ".actions: " + std::to_string(actions->size()) +
                   " actions, above the limit of " + std::to_string(MaxTriggerActions);
        }
        for (std::size_t a = 0; a < actions->size(); ++a) {
            const std::string problem = ReadAction(
                (*actions)[a], at + ".actions[" + std::to_string(a) + "]", trigger.Actions[a]);
            if (!problem.empty()) {
                return problem;
            }
        }
        trigger.ActionCount = static_cast<uint8_t>(actions->size());
    }
    if (const auto field = CheckTriggerFields(project, trigger, layout)) {
        return at + "." + field->Field + ": " + field->Text;
    }
    return {};
}

} // namespace

Json TriggersSummary(const TEditorProject& project) {
    Json list = Json::array();
    const uint32_t count = std::min<uint32_t>(project.Triggers.Count, MaxTriggers);
    for (uint32_t i = 0; i < count; ++i) {
        const TEditorTrigger& t = project.Triggers.Triggers[i];
        Json entry = {{"room", t.Room},   {"column", t.Column},
                      {"row", t.Row},     {"kind", TriggerKindName(t.KindOf())},
                      {"timer", t.Timer}, {"once", t.Once != 0},
                      {"mask", t.Mask},   {"death", t.Death != 0}};
        if (TriggerKindTiesObject(t.KindOf())) {
            entry["object"] = t.Object;
        }
        if (t.SetupBits != 0) {
            entry["setup_bits"] = t.SetupBits;
        }
        Json actions = Json::array();
        for (int a = 0; a < std::min<int>(t.ActionCount, MaxTriggerActions); ++a) {
            actions.push_back(ActionJson(t.Actions[a]));
        }
        entry["actions"] = std::move(actions);
        list.push_back(std::move(entry));
    }
    return Json{{TriggersKey, std::move(list)}};
}

std::string TriggersOfJson(const Json& value, const TEditorProject& project, int32_t formatKind,
                           std::vector<TEditorTrigger>& triggers) {
    triggers.clear();
    if (!value.is_object()) {
        return "the top level is not a JSON object but " + Quoted(value);
    }
    for (const auto& [key, member] : value.items()) {
        if (key != TriggersKey) {
            return "unknown key " + Quoted(Json(key)) + " at the top level (its one key is \"" +
                   TriggersKey + "\")";
        }
    }
    const auto list = value.find(TriggersKey);
    if (list == value.end() || !list->is_array()) {
        return std::string("\"") + TriggersKey + "\" is " +
               (list == value.end() ? "missing" : "not an array but " + Quoted(*list));
    }
    if (list->size() > static_cast<std::size_t>(MaxTriggers)) {
        return "The project holds at most " + std::to_string(MaxTriggers) + " triggers; " +
               std::to_string(list->size()) + " were given";
    }
    for (std::size_t i = 0; i < list->size(); ++i) {
        TEditorTrigger trigger{};
        const std::string problem = ReadTrigger((*list)[i], i, project, formatKind, trigger);
        if (!problem.empty()) {
            triggers.clear();
            return problem;
        }
        triggers.push_back(trigger);
    }
    return {};
}

} // namespace morvane
