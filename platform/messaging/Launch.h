// Starting another program as a process of its own.
//
//   StartDetached("xdg-open", {path});   // the desktop's file manager
//   StartDetached(orvella, {}, LaunchOutput::kDiscard);
//
//   int64 started;
//   StartDetached(orvella, {}, errorFile, &started);    // its errors kept
//   if (ProcessEnded(started)) ...                      // it gave up
#pragma once

#include "platform/support/SupportDefs.h"

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

// The same with input and output discarded and standard error written to
// `errorFile` (created, or emptied), so that a program that ends at once
// can tell why; *processId is the started program's process id.
bool StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& errorFile, int64* processId);

// Whether the process with this id has ended, also when nobody has
// collected its exit status yet.
bool ProcessEnded(int64 processId);
