// An absolute path, kept in a clean form: relative paths are taken from the
// current folder, repeated slashes, "." parts and a trailing slash go away
// (".." is kept, since only the file system knows where it leads).
//
//   BPath path;
//   find_directory(B_USER_SETTINGS_DIRECTORY, &path);
//   path.Append("_LP_x-vnd.KX/OVA_settings");
//   printf("%s in %s\n", path.Leaf(), path.Path());
#pragma once

#include "platform/support/SupportDefs.h"

#include <string>

class BPath {
public:
  BPath() = default;
  explicit BPath(const char* dir, const char* leaf = nullptr);

  // `leaf`, when given, is a relative path appended to `dir`.
  status_t SetTo(const char* dir, const char* leaf = nullptr);
  status_t Append(const char* path);
  status_t GetParent(BPath* parent) const;
  void Unset();

  status_t InitCheck() const { return fCStatus; }
  // The path, or "" when none is set.
  const char* Path() const { return fPath.c_str(); }
  // The last component ("" for "/" or when none is set).
  const char* Leaf() const;

private:
  std::string fPath;
  status_t fCStatus = B_NO_INIT;
};
