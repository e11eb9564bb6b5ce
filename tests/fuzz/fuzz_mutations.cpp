#include "fuzz/fuzz_mutations.h"

#include <nlohmann/json.hpp>

#include <cstring>

namespace morvane::fuzz {

namespace {

std::size_t Below(Random& random, std::size_t n) {
    return n == 0 ? 0 : static_cast<std::size_t>(random() % n);
}

// The extremes a number field of `width` bytes is set to, and its neighbours.
uint64_t ExtremeValue(Random& random, std::size_t width, uint64_t current) {
    const uint64_t all = width >= 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * width)) - 1;
    const uint64_t signBit = uint64_t{1} << (8 * width - 1);
    const uint64_t values[] = {0,           1,           all,         all - 1,     signBit,
                               signBit - 1, current + 1, current - 1, current * 2, current * 1024,
                               random()};
    return values[Below(random, std::size(values))] & all;
}

Mutant MutateBinary(const Sample& sample, Random& random, std::size_t boundary) {
    Mutant m{sample.File, ""};
    test::Bytes& f = m.File;
    switch (Below(random, 20)) {
    case 0:
    case 1:
    case 2:
    case 3: {
        const int flips = 1 + static_cast<int>(Below(random, 8));
        for (int i = 0; i < flips; ++i) {
            const std::size_t at = Below(random, f.size());
            f[at] ^= static_cast<uint8_t>(1u << Below(random, 8));
            m.What += "bit flip at " + std::to_string(at) + "; ";
        }
        break;
    }
    case 4:
    case 5:
    case 6: {
        const uint8_t values[] = {0x00, 0xFF, 0x7F, 0x80, static_cast<uint8_t>(random())};
        for (int i = 1 + static_cast<int>(Below(random, 4)); i > 0; --i) {
            const std::size_t at = Below(random, f.size());
            f[at] = values[Below(random, std::size(values))];
            m.What += "byte " + std::to_string(at) + " set to " + std::to_string(f[at]) + "; ";
        }
        break;
    }
    case 7:
    case 8:
    case 9:
    case 10: {
        const Field& field = sample.Fields[boundary % sample.Fields.size()];
        const std::size_t at = Below(random, 4) == 0 ? field.Offset + field.Width : field.Offset;
        f.resize(std::min(at, f.size()));
        m.What = "cut at " + std::to_string(f.size()) + " (field boundary)";
        break;
    }
    case 11: {
        const std::size_t extra = 1 + Below(random, 64);
        for (std::size_t i = 0; i < extra; ++i) {
            f.push_back(static_cast<uint8_t>(random()));
        }
        m.What = std::to_string(extra) + " bytes appended";
        break;
    }
    default: {
        // A number field: counts, positions, sizes, room and vertex links; the key ones half
        // of the time, however many array entries the file holds.
        std::vector<const Field*> numbers, keys;
        for (const Field& field : sample.Fields) {
            if (field.Width == 1 || field.Width == 2 || field.Width == 4) {
                numbers.push_back(&field);
                if (field.Key) {
                    keys.push_back(&field);
                }
            }
        }
        if (!keys.empty() && Below(random, 2) == 0) {
            numbers.swap(keys);
        }
        if (numbers.empty()) {
            break;
        }
        for (int i = 1 + static_cast<int>(Below(random, 2)); i > 0; --i) {
            const Field& field = *numbers[Below(random, numbers.size())];
            uint64_t value = 0;
            std::memcpy(&value, &f[field.Offset], field.Width);
            value = ExtremeValue(random, field.Width, value);
            std::memcpy(&f[field.Offset], &value, field.Width);
            m.What += std::to_string(field.Width) + "-byte field at " +
                      std::to_string(field.Offset) + " set to " + std::to_string(value) + "; ";
        }
        break;
    }
    }
    return m;
}

Mutant MutateText(const Sample& sample, Random& random, std::size_t boundary) {
    std::string text(sample.File.begin(), sample.File.end());
    std::string what;
    switch (Below(random, 10)) {
    case 0:
    case 1:
    case 2:
    case 3: {
        // Replaced from the last number chosen to the first, so that the offsets stay right.
        const char* numbers[] = {
            "0",     "-1",     "2147483647", "-2147483648", "2147483648", "99999999999", "65535",
            "65536", "-65536", "32767",      "-32768",      "256",        "8388608",     "",
            "x",     "+7",     "1e3",        "--1",         "0x10",       "1 2"};
        if (sample.Fields.empty()) {
            break;
        }
        const Field& field = sample.Fields[Below(random, sample.Fields.size())];
        const std::string number = numbers[Below(random, std::size(numbers))];
        text.replace(field.Offset, field.Width, number);
        what = "number at " + std::to_string(field.Offset) + " set to '" + number + "'";
        break;
    }
    case 4: {
        const std::size_t at = Below(random, text.size());
        text[at] = static_cast<char>(random());
        what = "byte " + std::to_string(at) + " set";
        break;
    }
    case 5: {
        const std::size_t cut = sample.Fields.empty()
                                    ? Below(random, text.size())
                                    : sample.Fields[boundary % sample.Fields.size()].Offset;
        text.resize(cut);
        what = "cut at " + std::to_string(cut);
        break;
    }
    case 6:
    case 7: {
        // A line repeated: items, cameras and floor data up to and past their capacities.
        const std::size_t start = text.rfind('\n', Below(random, text.size()));
        const std::size_t begin = start == std::string::npos ? 0 : start + 1;
        const std::size_t end = text.find('\n', begin);
        const std::string line =
            text.substr(begin, end == std::string::npos ? std::string::npos : end - begin + 1);
        const std::size_t times = 1 + Below(random, 400);
        std::string repeated;
        for (std::size_t i = 0; i < times; ++i) {
            repeated += line;
        }
        text.insert(begin, repeated);
        what = "line at " + std::to_string(begin) + " repeated " + std::to_string(times) + " times";
        break;
    }
    case 8: {
        const std::size_t length = 4000 + Below(random, 200);
        text.insert(Below(random, text.size()), std::string(length, Below(random, 2) ? ' ' : 'a'));
        what = "a run of " + std::to_string(length) + " characters";
        break;
    }
    default: {
        std::string many = "Put_Item(1";
        for (std::size_t i = 0, n = 95 + Below(random, 10); i < n; ++i) {
            many += ",1";
        }
        text += many + ")\n";
        what = "a line of about 100 parameters";
        break;
    }
    }
    return {test::Bytes(text.begin(), text.end()), what};
}

} // namespace

Mutant MutateObjectsJson(const Sample& sample, Random& random) {
    using Json = nlohmann::ordered_json;
    Json value = Json::parse(sample.File.begin(), sample.File.end());
    Json& objects = value["objects"];
    std::string what;
    const Json values[] = {nullptr,
                           "x",
                           1.5,
                           -1,
                           0,
                           1,
                           8191,
                           8192,
                           32768,
                           65536,
                           int64_t{1} << 31,
                           -(int64_t{1} << 31) - 1,
                           int64_t{1} << 40,
                           UINT64_MAX,
                           INT64_MIN,
                           Json::array(),
                           Json::object(),
                           true,
                           "#ABCDEF",
                           "item",
                           "static"};
    const char* keys[] = {"kind",       "room", "x",      "z",     "y",
                          "angle",      "type", "mesh",   "flags", "intensity",
                          "intensity2", "fade", "colour", "kinds", "intensty"};
    const std::size_t count = objects.size();
    switch (count == 0 ? 6 : Below(random, 8)) {
    case 0:
    case 1:
    case 2: {
        const std::size_t i = Below(random, count);
        const std::string key = keys[Below(random, std::size(keys))];
        const Json& v = values[Below(random, std::size(values))];
        objects[i][key] = v;
        what = "objects[" + std::to_string(i) + "]." + key + " set to " + v.dump();
        break;
    }
    case 3: {
        const std::size_t i = Below(random, count);
        const std::string key = keys[Below(random, 13)];
        objects[i].erase(key);
        what = "objects[" + std::to_string(i) + "]." + key + " removed";
        break;
    }
    case 4:
    case 5: {
        // Past the limits: the items of a level, the statics and lights of a room, Lara.
        const std::size_t i = Below(random, count);
        const std::size_t times = 1 + Below(random, 320);
        for (std::size_t t = 0; t < times; ++t) {
            objects.push_back(objects[i]);
        }
        what = "objects[" + std::to_string(i) + "] repeated " + std::to_string(times) + " times";
        break;
    }
    case 6: {
        const Json tops[] = {Json::array(), Json{{"objects", nullptr}}, Json{{"objects", 5}},
                             Json{{"objects", Json::array()}},
                             Json{{"objects", objects}, {"more", 1}}};
        const std::size_t t = Below(random, std::size(tops));
        value = tops[t];
        what = "top level replaced (" + std::to_string(t) + ")";
        break;
    }
    default: {
        const std::size_t i = Below(random, count);
        objects[i] = values[Below(random, std::size(values))];
        what = "objects[" + std::to_string(i) + "] replaced by " + objects[i].dump();
        break;
    }
    }
    const std::string text = value.dump(Below(random, 2) == 0 ? -1 : 2);
    return {test::Bytes(text.begin(), text.end()), what};
}

Mutant Mutate(const Sample& sample, Random& random, std::size_t boundary) {
    return sample.Text ? MutateText(sample, random, boundary)
                       : MutateBinary(sample, random, boundary);
}

} // namespace morvane::fuzz
