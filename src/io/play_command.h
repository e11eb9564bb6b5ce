#pragma once

#include <string>
#include <vector>

namespace morvane {

// The words of the program line that plays a level: `command` split at blanks ("double quotes"
// keep blanks within a word), each "{level}" replaced by the level's path; a command without
// "{level}" gets the path as its last word. Empty for a blank command.
std::vector<std::string> PlayCommandWords(const std::string& command, const std::string& level);

// Starts the first word as a program (looked up in PATH) with the others as its arguments, in
// the background: the caller does not wait for it. Returns its process id. Throws IoError naming
// the program when it cannot be started.
int StartProgram(const std::vector<std::string>& words);

// Whether a program StartProgram started has ended; once it has, its process is released (a
// caller that goes on running asks now and then, so that ended programs leave no trace).
bool ProgramEnded(int process);

} // namespace morvane
