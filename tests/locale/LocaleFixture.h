// Dictionary tests run in a fresh home folder (the locale setting file
// lives there) with a program folder of their own, and start every test
// with a new label dictionary.
#pragma once

#include "locale/KXLabel.h"
#include "platform/storage/BPath.h"
#include "platform/storage/FindDirectory.h"
#include "tests/platform/TempHome.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/xattr.h>

class LocaleTest : public ::testing::Test {
protected:
  void SetUp() override { mkdir(Program().c_str(), 0755); }
  void TearDown() override
  {
    if (KXLabel::labelZgr)
      KXLabel::labelZgr->DeleteMe();
  }

  // The folder the program's files would lie in.
  std::string Program() const { return home.Path("program"); }

  // Writes `content` to `relative` in the program folder (making its
  // folder) and returns the file's path.
  std::string WriteFile(const std::string& relative, const std::string& content) const
  {
    const std::string path = Program() + "/" + relative;
    create_parents(path);
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }

  // The bytes of an attribute of the locale setting file, or "(none)".
  std::string Stored(const char* name) const
  {
    const std::string file = home.Path(".config/_LP_x-vnd.KX/kx_simpel_locale");
    char value[64];
    const ssize_t size = getxattr(file.c_str(), (std::string("user.") + name).c_str(), value, sizeof value);
    return size < 0 ? std::string("(none)") : std::string(value, size_t(size));
  }

  // Stores `bytes` as the last language, as another program would.
  void StoreLast(const std::string& bytes) const
  {
    const std::string folder = home.Path(".config/_LP_x-vnd.KX");
    create_parents(folder + "/kx_simpel_locale");
    std::ofstream(folder + "/kx_simpel_locale");
    setxattr((folder + "/kx_simpel_locale").c_str(), "user._last_lg_selected", bytes.data(), bytes.size(), 0);
  }

  // A dictionary of Orvella's as the build ships it, beside the tests.
  static std::string ShippedDictionary(const char* code)
  {
    BPath program;
    find_directory(B_PROGRAM_DIRECTORY, &program);
    return std::string(program.Path()) + "/Dictionaries/Orvella." + code;
  }

  TempHome home;

private:
  static void create_parents(const std::string& path)
  {
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
      mkdir(path.substr(0, slash).c_str(), 0755);
  }
};
