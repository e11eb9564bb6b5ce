#include "app/cli_objects.h"

#include "document/object_operations.h"
#include "level/level_format.h"
#include "level/world_units.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <limits>
#include <tuple>

namespace morvane {

namespace {

constexpr const char* ObjectsKey = "objects";
constexpr const ObjectKind Kinds[] = {ObjectKind::Item, ObjectKind::Camera, ObjectKind::Static,
                                      ObjectKind::Light};
constexpr int32_t InputLayouts[] = {FormatTR1, FormatTR2, FormatTR3};

bool Has(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Every key a kind has in some layout: a key of another layout is left alone, any other refused.
std::vector<std::string> KeysOfKind(ObjectKind kind) {
    std::vector<std::string> keys;
    for (int32_t layout : InputLayouts) {
        for (const std::string& key : ObjectJsonFields(kind, layout)) {
            if (!Has(keys, key)) {
                keys.push_back(key);
            }
        }
    }
    return keys;
}

std::string Listed(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return text;
}

const char* WithArticle(ObjectKind kind) {
    return kind == ObjectKind::Item     ? "an item"
           : kind == ObjectKind::Camera ? "a camera"
           : kind == ObjectKind::Static ? "a static"
                                        : "a light";
}

// A JSON value as a message quotes it, cut when long.
std::string Quoted(const Json& value) {
    std::string text = value.dump(-1, ' ', /*ensure_ascii=*/true);
    if (text.size() > 40) {
        text = text.substr(0, 37) + "...";
    }
    return text;
}

std::string ColourText(uint32_t colour) {
    char text[8];
    std::snprintf(text, sizeof(text), "#%06X", colour & 0xFFFFFFu);
    return text;
}

Json FieldValue(const TEditorObject& o, const std::string& name) {
    if (name == "kind") {
        return ObjectKindName(o.KindOf());
    }
    if (name == "room") {
        return o.Room;
    }
    if (name == "x") {
        return o.X;
    }
    if (name == "z") {
        return o.Z;
    }
    if (name == "y") {
        return o.OnFloor != 0 ? Json(nullptr) : Json(o.Y);
    }
    if (name == "angle") {
        return DegreesOfAngle(o.Angle);
    }
    if (name == "type" || name == "mesh") {
        return o.Type;
    }
    if (name == "flags") {
        return o.Flags;
    }
    if (name == "intensity") {
        return o.Intensity;
    }
    if (name == "intensity2") {
        return o.Intensity2;
    }
    if (name == "fade") {
        return o.Fade;
    }
    return ColourText(o.Colour);
}

// Reads one object of the JSON into `object`; the problem, or empty.
class ObjectReader {
public:
    ObjectReader(const Json& entry, std::size_t index, const TEditorProject& project,
                 int32_t layout)
        : entry_(entry), at_("objects[" + std::to_string(index) + "]"), project_(project),
          layout_(layout) {}

    std::string Read(TEditorObject& object) {
        if (!entry_.is_object()) {
            return at_ + ": not a JSON object but " + Quoted(entry_);
        }
        const auto kindValue = entry_.find("kind");
        if (kindValue == entry_.end()) {
            return at_ + ".kind: missing";
        }
        const auto kind =
            kindValue->is_string() ? ObjectKindOfName(kindValue->get<std::string>()) : std::nullopt;
        if (!kind) {
            return at_ + ".kind: unknown kind " + Quoted(*kindValue) +
                   " (item, camera, static or light)";
        }
        const std::vector<std::string> keys = KeysOfKind(*kind);
        for (const auto& [key, value] : entry_.items()) {
            if (!Has(keys, key)) {
                return at_ + ": unknown key " + Quoted(Json(key)) + " for " + WithArticle(*kind) +
                       " (its keys are " + Listed(keys) + ")";
            }
        }
        std::vector<std::string> required = {"kind", "room", "x", "z", "y"};
        if (*kind == ObjectKind::Item) {
            required.push_back("type");
        } else if (*kind == ObjectKind::Static) {
            required.push_back("mesh");
        }
        for (const std::string& key : required) {
            if (!entry_.contains(key)) {
                return at_ + "." + key + ": missing (" + WithArticle(*kind) + " needs " +
                       Listed(required) + ")";
            }
        }
        int64_t room = 0, x = 0, z = 0, value = 0;
        if (!IntegerOf("room", room)) {
            return problem_;
        }
        if (room < 1 || room > project_.RoomCount) {
            return at_ + ".room: room " + Quoted(entry_.at("room")) +
                   " does not exist (the project has " + std::to_string(project_.RoomCount) + ")";
        }
        const TEditorRoom& grid = project_.Room(static_cast<int>(room));
        for (auto [key, sectors, place] :
             {std::tuple{"x", grid.XSectors, &x}, std::tuple{"z", grid.ZSectors, &z}}) {
            if (!IntegerOf(key, *place)) {
                return problem_;
            }
            const int64_t last = int64_t{sectors} * SectorSize - 1;
            if (*place < 0 || *place > last) {
                return at_ + "." + key + ": " + Quoted(entry_.at(key)) + " is outside room " +
                       std::to_string(room) + " (0 to " + std::to_string(last) + ")";
            }
        }
        object = NewObject(*kind, static_cast<int>(room), static_cast<int>(x), static_cast<int>(z));
        const Json& y = entry_.at("y");
        object.OnFloor = y.is_null() ? 1 : 0;
        if (!y.is_null()) {
            if (!InRange("y", std::numeric_limits<int32_t>::min(),
                         std::numeric_limits<int32_t>::max(), value)) {
                return problem_;
            }
            object.Y = static_cast<int32_t>(value);
        }
        const std::vector<std::string> fields = ObjectJsonFields(*kind, layout_);
        const ObjectValueRange intensities = IntensityRange(*kind);
        for (const std::string& key : fields) {
            if (key == "kind" || key == "room" || key == "x" || key == "z" || key == "y" ||
                !entry_.contains(key)) {
                continue;
            }
            if (key == "angle") {
                if (!IntegerOf(key, value)) {
                    return problem_;
                }
                object.Angle = AngleOfDegrees(static_cast<int>(value % 360));
            } else if (key == "type" || key == "mesh") {
                if (!InRange(key, 0, std::numeric_limits<int16_t>::max(), value)) {
                    return problem_;
                }
                object.Type = static_cast<int16_t>(value);
            } else if (key == "flags") {
                if (!InRange(key, 0, std::numeric_limits<uint16_t>::max(), value)) {
                    return problem_;
                }
                object.Flags = static_cast<uint16_t>(value);
            } else if (key == "intensity" || key == "intensity2") {
                if (!InRange(key, intensities.Min, intensities.Max, value)) {
                    return problem_;
                }
                (key == "intensity" ? object.Intensity : object.Intensity2) =
                    static_cast<int32_t>(value);
            } else if (key == "fade") {
                if (!InRange(key, 0, std::numeric_limits<uint32_t>::max(), value)) {
                    return problem_;
                }
                object.Fade = static_cast<uint32_t>(value);
            } else if (key == "colour") {
                if (!Colour(object.Colour)) {
                    return problem_;
                }
            }
        }
        // Both intensities alike unless the second is given (and the layout has it).
        if (entry_.contains("intensity") &&
            !(entry_.contains("intensity2") && Has(fields, "intensity2"))) {
            object.Intensity2 = object.Intensity;
        }
        if (const auto field = CheckObjectFields(project_, object)) {
            return at_ + "." + field->Field + ": " + field->Text;
        }
        return {};
    }

private:
    // An integer of 64 bits; anything else is the problem.
    bool IntegerOf(const std::string& key, int64_t& value) {
        const Json& field = entry_.at(key);
        if (!field.is_number_integer()) {
            problem_ = at_ + "." + key + ": not an integer but " + Quoted(field);
            return false;
        }
        if (field.is_number_unsigned() &&
            field.get<uint64_t>() > uint64_t{std::numeric_limits<int64_t>::max()}) {
            problem_ = at_ + "." + key + ": " + Quoted(field) + " is too large";
            return false;
        }
        value = field.get<int64_t>();
        return true;
    }

    bool InRange(const std::string& key, int64_t min, int64_t max, int64_t& value) {
        if (!IntegerOf(key, value)) {
            return false;
        }
        if (value < min || value > max) {
            problem_ = at_ + "." + key + ": " + Quoted(entry_.at(key)) + " is outside " +
                       std::to_string(min) + " to " + std::to_string(max);
            return false;
        }
        return true;
    }

    bool Colour(uint32_t& colour) {
        const Json& field = entry_.at("colour");
        const std::string text = field.is_string() ? field.get<std::string>() : "";
        const bool hex = text.size() == 7 && text[0] == '#' &&
                         std::all_of(text.begin() + 1, text.end(), [](char c) {
                             return std::isxdigit(static_cast<unsigned char>(c)) != 0;
                         });
        if (!hex) {
            problem_ = at_ + ".colour: " + Quoted(field) + " is not a colour \"#RRGGBB\"";
            return false;
        }
        colour = static_cast<uint32_t>(std::stoul(text.substr(1), nullptr, 16));
        return true;
    }

    const Json& entry_;
    std::string at_;
    const TEditorProject& project_;
    int32_t layout_;
    std::string problem_;
};

} // namespace

std::vector<std::string> ObjectJsonFields(ObjectKind kind, int32_t formatKind) {
    const bool secondOrThird = UsesSecondGameRecords(formatKind);
    std::vector<std::string> fields = {"kind", "room", "x", "z", "y"};
    switch (kind) {
    case ObjectKind::Item:
    case ObjectKind::Static:
        fields.insert(fields.end(), {"angle", kind == ObjectKind::Item ? "type" : "mesh"});
        if (kind == ObjectKind::Item) {
            fields.push_back("flags");
        }
        fields.push_back("intensity");
        if (secondOrThird) {
            fields.push_back("intensity2");
        }
        break;
    case ObjectKind::Camera:
        fields.push_back("flags");
        break;
    case ObjectKind::Light:
        fields.push_back("intensity");
        if (formatKind == FormatTR2) {
            fields.push_back("intensity2");
        }
        fields.push_back("fade");
        if (formatKind == FormatTR3) {
            fields.push_back("colour");
        }
        break;
    }
    return fields;
}

Json ObjectsSummary(const TEditorProject& project, int32_t formatKind) {
    Json list = Json::array();
    const uint32_t count = std::min<uint32_t>(project.Objects.Count, MaxObjects);
    for (uint32_t i = 0; i < count; ++i) {
        const TEditorObject& object = project.Objects.Objects[i];
        Json entry = Json::object();
        if (std::find(std::begin(Kinds), std::end(Kinds), object.KindOf()) != std::end(Kinds)) {
            for (const std::string& name : ObjectJsonFields(object.KindOf(), formatKind)) {
                entry[name] = FieldValue(object, name);
            }
        } else {
            entry["kind"] = object.Kind; // no reader lets one in: shown as it is
        }
        list.push_back(std::move(entry));
    }
    return Json{{ObjectsKey, std::move(list)}};
}

std::string ObjectsOfJson(const Json& value, const TEditorProject& project, int32_t formatKind,
                          std::vector<TEditorObject>& objects) {
    objects.clear();
    if (!value.is_object()) {
        return "the top level is not a JSON object but " + Quoted(value);
    }
    for (const auto& [key, member] : value.items()) {
        if (key != ObjectsKey) {
            return "unknown key " + Quoted(Json(key)) + " at the top level (its one key is \"" +
                   ObjectsKey + "\")";
        }
    }
    const auto list = value.find(ObjectsKey);
    if (list == value.end() || !list->is_array()) {
        return std::string("\"") + ObjectsKey + "\" is " +
               (list == value.end() ? "missing" : "not an array but " + Quoted(*list));
    }
    if (list->size() > static_cast<std::size_t>(MaxObjects)) {
        return "The project holds at most " + std::to_string(MaxObjects) + " objects; " +
               std::to_string(list->size()) + " were given";
    }
    for (std::size_t i = 0; i < list->size(); ++i) {
        TEditorObject object{};
        const std::string problem = ObjectReader((*list)[i], i, project, formatKind).Read(object);
        if (!problem.empty()) {
            objects.clear();
            return problem;
        }
        objects.push_back(object);
    }
    return {};
}

} // namespace morvane
