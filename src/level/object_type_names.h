#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace morvane {

// What an object type is to someone placing it. Slots and keyholes count as switches: they are
// used in place and act on the triggers like one.
enum class ObjectCategory : uint8_t { Other, Enemy, Pickup, KeyItem, Door, Switch, Trap };

struct ObjectTypeEntry {
    int16_t id;
    ObjectCategory category;
    std::string_view name;
};

// The named types of a layout (the add-on uses the first game's), sorted by id with each id
// once. Types not listed show by number only. Empty for an unknown layout.
std::span<const ObjectTypeEntry> ObjectTypeTable(int formatKind);

// The public name of a moveable or sprite-sequence type ("Wolf"), empty when not known.
std::string_view ObjectTypeName(int formatKind, int type);

// Other when the type is not known.
ObjectCategory ObjectTypeCategory(int formatKind, int type);
const char* ObjectCategoryName(ObjectCategory category);

// What lists and markers show: "7 Wolf", or just "123" when the type has no name.
std::string ObjectTypeLabel(int formatKind, int type);

// Whether the label contains the text, ignoring case and the text's surrounding blanks; an
// empty text matches every type.
bool ObjectTypeMatches(int formatKind, int type, std::string_view text);

} // namespace morvane
