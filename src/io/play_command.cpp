#include "io/play_command.h"

#include "io/io_error.h"

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace morvane {

namespace {

constexpr const char* LevelPlaceholder = "{level}";

void ReplaceAll(std::string& word, const std::string& what, const std::string& with) {
    for (std::size_t at = word.find(what); at != std::string::npos;
         at = word.find(what, at + with.size())) {
        word.replace(at, what.size(), with);
    }
}

} // namespace

std::vector<std::string> PlayCommandWords(const std::string& command, const std::string& level) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (const char c : command) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (inWord) {
                words.push_back(word);
                word.clear();
                inWord = false;
            }
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) {
        words.push_back(word);
    }
    if (words.empty()) {
        return words;
    }
    bool placed = false;
    for (std::string& each : words) {
        placed = placed || each.find(LevelPlaceholder) != std::string::npos;
        ReplaceAll(each, LevelPlaceholder, level);
    }
    if (!placed) {
        words.push_back(level);
    }
    return words;
}

int StartProgram(const std::vector<std::string>& words) {
    if (words.empty()) {
        throw IoError("No program is named to play the level with.");
    }
    std::vector<char*> arguments;
    for (const std::string& word : words) {
        arguments.push_back(const_cast<char*>(word.c_str()));
    }
    arguments.push_back(nullptr);
    // Not waited for: the command-line tool ends right after, and the program goes on.
    pid_t program = 0;
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    const int spawned =
        posix_spawnp(&program, words[0].c_str(), nullptr, &attributes, arguments.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0) {
        throw IoError("The program \"" + words[0] + "\" to play the level with could not be " +
                      "started: " + IoErrorText(spawned));
    }
    return program;
}

bool ProgramEnded(int process) {
    return waitpid(process, nullptr, WNOHANG) != 0; // ended, or not ours to wait for
}

} // namespace morvane
