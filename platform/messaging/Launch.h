// Starting another program as a process of its own.
//
//   StartDetached("xdg-open", {path});   // the desktop's file manager
//   StartDetached(orvella, {}, LaunchOutput::kDiscard);
#pragma once

#include <string>
#include <vector>

// Where the started program's standard input, output and error go.
enum class LaunchOutput {
  kInherit,  // the same as this program's
  kDiscard,  // /dev/null, so that nobody waiting for the end of this
             // program's output also waits for the started one
};

// Starts `program` (a path, or a name looked up on PATH) with the given
// arguments and without a shell, so no character of a path or argument is
// ever interpreted. The started program outlives this one and is never
// left as a zombie. False when it could not be started.
bool StartDetached(const std::string& program, const std::vector<std::string>& arguments = {},
                   LaunchOutput output = LaunchOutput::kInherit);
