#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// Writes one JSON value with its members in the order they are added, indented two blanks.
class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}

    void BeginObject(std::string_view key = {});
    void EndObject();
    void BeginArray(std::string_view key);
    void EndArray();
    void Number(std::string_view key, int64_t value);
    void String(std::string_view key, std::string_view value);
    // Ends the output with a newline.
    void Finish() { out_ << '\n'; }

private:
    void Key(std::string_view key);
    void Quoted(std::string_view text);

    std::ostream& out_;
    std::vector<bool> hasMembers_; // one entry per open object or array
};

} // namespace morvane
