// Finding another program by its file name, the way the client finds
// Orvella: beside the client's own executable first, then on PATH
// (StartDetached, platform/Launch.h, then starts it).
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
