#include "platform/BDirectory.h"
#include "platform/BFile.h"
#include "platform/FindDirectory.h"
#include "tests/platform/TempHome.h"

#include <gtest/gtest.h>

#include <set>
#include <sys/stat.h>

namespace {

std::string Slurp(const std::string& path)
{
  BFile file(path.c_str(), B_READ_ONLY);
  char buffer[64];
  ssize_t got = file.Read(buffer, sizeof buffer);
  return got < 0 ? "<unreadable>" : std::string(buffer, got);
}

void Spit(const std::string& path, const char* text)
{
  BFile file(path.c_str(), B_WRITE_ONLY | B_CREATE_FILE | B_ERASE_FILE);
  ASSERT_EQ(file.Write(text, strlen(text)), ssize_t(strlen(text)));
}

struct OpenRow {
  const char* edge;
  uint32 mode;
  const char* write;
  status_t status;
  std::string content;
};

TEST(FileTest, OpenModes)
{
  TempHome home;
  const OpenRow rows[] = {
      {"plain read-write overwrites in place", B_READ_WRITE, "XY", B_OK, "XYd"},
      {"erase empties first", B_WRITE_ONLY | B_ERASE_FILE, "XY", B_OK, "XY"},
      {"open at end appends", B_WRITE_ONLY | B_OPEN_AT_END, "XY", B_OK, "oldXY"},
      {"fail if exists refuses", B_READ_WRITE | B_CREATE_FILE | B_FAIL_IF_EXISTS, "", B_FILE_EXISTS,
       "old"},
      {"read only cannot write", B_READ_ONLY, "XY", B_OK, "old"},
  };
  std::string path = home.Path("f");
  for (const OpenRow& row : rows) {
    SCOPED_TRACE(row.edge);
    Spit(path, "old");
    BFile file(path.c_str(), row.mode);
    ASSERT_EQ(file.InitCheck(), row.status);
    if (row.status == B_OK) {
      EXPECT_EQ(file.IsWritable(), (row.mode & O_ACCMODE) != B_READ_ONLY);
      ssize_t wrote = file.Write(row.write, strlen(row.write));
      EXPECT_EQ(wrote >= 0, file.IsWritable());
    }
    EXPECT_EQ(Slurp(path), row.content);
  }

  BFile missing(home.Path("missing").c_str(), B_READ_ONLY);
  EXPECT_EQ(missing.InitCheck(), B_ENTRY_NOT_FOUND);
  BFile folder(home.Root().c_str(), B_READ_ONLY);
  EXPECT_EQ(folder.InitCheck(), StatusFromErrno(EISDIR));
}

TEST(FileTest, PositionsAndSize)
{
  TempHome home;
  BFile file(home.Path("f").c_str(), B_READ_WRITE | B_CREATE_FILE);
  ASSERT_EQ(file.WriteAt(4, "tail", 4), 4);
  off_t size = 0;
  ASSERT_EQ(file.GetSize(&size), B_OK);
  EXPECT_EQ(size, 8);
  EXPECT_EQ(file.Seek(-4, SEEK_END), 4);
  char buffer[8] = {};
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 4);
  EXPECT_STREQ(buffer, "tail");
  ASSERT_EQ(file.SetSize(2), B_OK);
  EXPECT_EQ(file.ReadAt(0, buffer, sizeof buffer), 2);
}

struct PathRow {
  const char* edge;
  const char* dir;
  const char* leaf;
  const char* path;
  const char* name;
};

TEST(PathTest, CleanForms)
{
  const PathRow rows[] = {
      {"doubled and trailing slashes", "/a//b/", nullptr, "/a/b", "b"},
      {"leaf with a dot part", "/a", "c/./d", "/a/c/d", "d"},
      {"root alone", "/", nullptr, "/", ""},
      {"leaf on root", "/", "x", "/x", "x"},
  };
  for (const PathRow& row : rows) {
    SCOPED_TRACE(row.edge);
    BPath path(row.dir, row.leaf);
    ASSERT_EQ(path.InitCheck(), B_OK);
    EXPECT_STREQ(path.Path(), row.path);
    EXPECT_STREQ(path.Leaf(), row.name);
  }
  EXPECT_EQ(BPath("/a", "/b").InitCheck(), B_BAD_VALUE);
  EXPECT_STREQ(BPath().Path(), "");

  char cwd[PATH_MAX];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  EXPECT_EQ(std::string(BPath("rel").Path()), std::string(cwd) + "/rel");

  BPath path("/a/b");
  ASSERT_EQ(path.Append("c/d"), B_OK);
  EXPECT_STREQ(path.Path(), "/a/b/c/d");
  BPath parent;
  ASSERT_EQ(path.GetParent(&parent), B_OK);
  EXPECT_STREQ(parent.Path(), "/a/b/c");
  EXPECT_EQ(BPath("/").GetParent(&parent), B_ENTRY_NOT_FOUND);
}

class DirectoryTest : public testing::Test {
protected:
  void SetUp() override
  {
    Spit(fHome.Path("file"), "data");
    ASSERT_EQ(mkdir(fHome.Path("folder").c_str(), 0755), 0);
    ASSERT_EQ(symlink("file", fHome.Path("link").c_str()), 0);
    ASSERT_EQ(symlink("nowhere", fHome.Path("dangling").c_str()), 0);
    ASSERT_EQ(fDir.SetTo(fHome.Root().c_str()), B_OK);
  }

  // Name and kind of every entry the walk gives.
  std::set<std::string> Walk(bool traverse)
  {
    std::set<std::string> seen;
    BEntry entry;
    BPath path;
    while (fDir.GetNextEntry(&entry, traverse) == B_OK) {
      entry.GetPath(&path);
      seen.insert(std::string(path.Leaf()) + (entry.IsSymLink() ? "@" : "")
                  + (entry.IsDirectory() ? "/" : ""));
    }
    return seen;
  }

  TempHome fHome;
  BDirectory fDir;
};

TEST_F(DirectoryTest, WalkDoesNotFollowLinksUnlessAsked)
{
  EXPECT_EQ(Walk(false), (std::set<std::string>{"file", "folder/", "link@", "dangling@"}));
  EXPECT_EQ(Walk(false), std::set<std::string>()) << "walk ends until rewound";
  ASSERT_EQ(fDir.Rewind(), B_OK);
  // The followed link becomes its target; the dangling one stays a link.
  EXPECT_EQ(Walk(true), (std::set<std::string>{"file", "folder/", "dangling@"}));
  EXPECT_EQ(fDir.CountEntries(), 4);
}

TEST_F(DirectoryTest, FindContainsAndCreate)
{
  BEntry entry;
  EXPECT_EQ(fDir.FindEntry("missing", &entry), B_ENTRY_NOT_FOUND);
  ASSERT_EQ(fDir.FindEntry("link", &entry), B_OK);
  EXPECT_TRUE(entry.IsSymLink());
  ASSERT_EQ(fDir.FindEntry("link", &entry, true), B_OK);
  EXPECT_TRUE(entry.IsFile());

  EXPECT_TRUE(fDir.Contains("file", B_FILE_NODE));
  EXPECT_FALSE(fDir.Contains("file", B_DIRECTORY_NODE));
  EXPECT_TRUE(fDir.Contains("link", B_SYMLINK_NODE));
  EXPECT_FALSE(fDir.Contains("folder/../../etc"));
  EXPECT_FALSE(fDir.Contains("/etc/passwd"));

  BDirectory sub;
  ASSERT_EQ(fDir.CreateDirectory("folder/sub", &sub), B_OK);
  EXPECT_TRUE(fDir.Contains(fHome.Path("folder/sub").c_str(), B_DIRECTORY_NODE));
  BFile file;
  EXPECT_EQ(sub.CreateFile("new", &file, true), B_OK);
  EXPECT_TRUE(file.IsWritable());
  EXPECT_EQ(sub.CreateFile("new", &file, true), B_FILE_EXISTS);
  EXPECT_EQ(fDir.CreateDirectory("folder", nullptr), B_FILE_EXISTS);

  BDirectory notFolder(fHome.Path("file").c_str());
  EXPECT_EQ(notFolder.InitCheck(), StatusFromErrno(ENOTDIR));
}

struct FindRow {
  const char* edge;
  directory_which which;
  const char* xdgConfig;
  const char* xdgRuntime;
  std::string expected; // relative to HOME unless absolute
};

TEST(FindDirectoryTest, EnvironmentDecides)
{
  TempHome home;
  const FindRow rows[] = {
      {"home", B_USER_DIRECTORY, nullptr, nullptr, ""},
      {"settings from XDG_CONFIG_HOME", B_USER_SETTINGS_DIRECTORY, "/xdg/conf", nullptr, "/xdg/conf"},
      {"settings without XDG_CONFIG_HOME", B_USER_SETTINGS_DIRECTORY, nullptr, nullptr, ".config"},
      {"relative XDG_CONFIG_HOME ignored", B_USER_SETTINGS_DIRECTORY, "conf", nullptr, ".config"},
      {"runtime from XDG_RUNTIME_DIR", B_USER_RUNTIME_DIRECTORY, nullptr, "/run/u", "/run/u"},
      {"runtime without XDG_RUNTIME_DIR", B_USER_RUNTIME_DIRECTORY, nullptr, nullptr, "/tmp"},
  };
  for (const FindRow& row : rows) {
    SCOPED_TRACE(row.edge);
    ScopedEnv env;
    env.Set("XDG_CONFIG_HOME", row.xdgConfig);
    env.Set("XDG_RUNTIME_DIR", row.xdgRuntime);
    env.Set("TMPDIR", nullptr);
    BPath path;
    ASSERT_EQ(find_directory(row.which, &path), B_OK);
    std::string expected = row.expected;
    if (expected.empty() || expected[0] != '/')
      expected = BPath(home.Root().c_str(), expected.c_str()).Path();
    EXPECT_EQ(path.Path(), expected);
  }
}

TEST(FindDirectoryTest, CreatesMissingFolders)
{
  TempHome home;
  ScopedEnv env;
  env.Set("XDG_CONFIG_HOME", home.Path("deep/er/conf").c_str());
  mode_t mask = umask(022);
  BPath path;
  EXPECT_EQ(find_directory(B_USER_SETTINGS_DIRECTORY, &path, false), B_OK);
  struct stat st;
  EXPECT_NE(stat(path.Path(), &st), 0) << "not created unless asked";
  ASSERT_EQ(find_directory(B_USER_SETTINGS_DIRECTORY, &path, true), B_OK);
  ASSERT_EQ(stat(path.Path(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_mode & 07777, 0755u);
  umask(mask);

  Spit(home.Path("plain"), "x");
  EXPECT_EQ(create_directory(home.Path("plain/sub").c_str(), 0755), StatusFromErrno(ENOTDIR));
}

} // namespace
