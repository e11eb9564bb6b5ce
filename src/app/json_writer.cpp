#include "app/json_writer.h"

#include <cstdio>

namespace morvane {

void JsonWriter::Key(std::string_view key) {
    if (!hasMembers_.empty()) {
        if (hasMembers_.back()) {
            out_ << ',';
        }
        hasMembers_.back() = true;
        out_ << '\n' << std::string(hasMembers_.size() * 2, ' ');
    }
    if (!key.empty()) {
        Quoted(key);
        out_ << ": ";
    }
}

void JsonWriter::Quoted(std::string_view text) {
    out_ << '"';
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            out_ << "\\\"";
            break;
        case '\\':
            out_ << "\\\\";
            break;
        case '\n':
            out_ << "\\n";
            break;
        case '\t':
            out_ << "\\t";
            break;
        default:
            if (c < 0x20 || c >= 0x80) { // stored texts are single-byte (Latin-1)
                char escaped[8];
                std::snprintf(escaped, sizeof(escaped), "\\u%04x", c);
                out_ << escaped;
            } else {
                out_ << c;
            }
        }
    }
    out_ << '"';
}

void JsonWriter::BeginObject(std::string_view key) {
    Key(key);
    out_ << '{';
    hasMembers_.push_back(false);
}

void JsonWriter::EndObject() {
    bool any = hasMembers_.back();
    hasMembers_.pop_back();
    if (any) {
        out_ << '\n' << std::string(hasMembers_.size() * 2, ' ');
    }
    out_ << '}';
}

void JsonWriter::BeginArray(std::string_view key) {
    Key(key);
    out_ << '[';
    hasMembers_.push_back(false);
}

void JsonWriter::EndArray() {
    bool any = hasMembers_.back();
    hasMembers_.pop_back();
    if (any) {
        out_ << '\n' << std::string(hasMembers_.size() * 2, ' ');
    }
    out_ << ']';
}

void JsonWriter::Number(std::string_view key, int64_t value) {
    Key(key);
    out_ << value;
}

void JsonWriter::String(std::string_view key, std::string_view value) {
    Key(key);
    Quoted(value);
}

} // namespace morvane
