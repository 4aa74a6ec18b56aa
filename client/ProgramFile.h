// Finding and starting another program by its file name, the way the client
// starts Orvella: beside the client's own executable first, then on PATH.
//
//   std::string path = FindProgramFile("Orvella", ExecutableFolder(), getenv("PATH"));
//   if (!path.empty())
//     StartDetached(path);
#pragma once

#include <string>

// The folder of the running program's executable (without a trailing
// "/"); empty when /proc/self/exe cannot be read.
std::string ExecutableFolder();

// The first executable regular file called `name` in `firstFolder`, then
// in the folders of `searchPath` (colon-separated; an empty entry is the
// current folder). Empty when there is none. Either folder argument may be
// empty or null.
std::string FindProgramFile(const std::string& name, const std::string& firstFolder,
                            const char* searchPath);

// Starts the program file as a process of its own, with no arguments and
// without a shell, so no character of the path is ever interpreted. The
// started program outlives this one and is never left as a zombie. False
// when it could not be started.
bool StartDetached(const std::string& path);
