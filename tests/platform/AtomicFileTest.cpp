// Files written whole: the old content stays until the new one is complete,
// and a failure leaves no temporary file behind.
#include "platform/storage/AtomicFile.h"
#include "tests/platform/TempHome.h"

#include <gtest/gtest.h>

#include <csignal>
#include <dirent.h>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

std::string Content(const std::string& path)
{
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return file ? text.str() : "<missing>";
}

void Put(const std::string& path, const std::string& text)
{
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::vector<std::string> Names(const std::string& folder)
{
  std::vector<std::string> names;
  if (DIR* dir = opendir(folder.c_str())) {
    while (dirent* entry = readdir(dir)) {
      if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..")
        names.push_back(entry->d_name);
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

mode_t ModeOf(const std::string& path)
{
  struct stat info;
  return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// Files may grow to `bytes` only, as on a nearly full disk: a longer write
// fails with EFBIG instead of the signal that would end the test.
class FileSizeLimit {
public:
  explicit FileSizeLimit(rlim_t bytes)
  {
    getrlimit(RLIMIT_FSIZE, &fOld);
    fOldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = fOld;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit()
  {
    setrlimit(RLIMIT_FSIZE, &fOld);
    signal(SIGXFSZ, fOldHandler);
  }

private:
  rlimit fOld;
  sighandler_t fOldHandler;
};

TEST(AtomicFileTest, NewContentReplacesTheOldWholeOnCommit)
{
  TempHome home;
  const std::string path = home.Path("page.htm");
  const std::string link = home.Path("link.htm");
  const struct {
    const char* edge;
    std::function<void()> before;
    const char* written; // the path given
    const char* read;    // where the new content shows
    mode_t mode;
  } rows[] = {
      {"new file gets 0666 less the umask", [&] { unlink(path.c_str()); }, "page.htm", "page.htm", 0644},
      {"old file keeps its permissions", [&] { Put(path, "old"), chmod(path.c_str(), 0640); }, "page.htm",
       "page.htm", 0640},
      {"a link's target is replaced, the link stays",
       [&] { Put(path, "old"), unlink(link.c_str()), symlink("page.htm", link.c_str()); }, "link.htm", "page.htm",
       0640},
  };
  const mode_t umaskWas = umask(022);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    row.before();
    AtomicFile file(home.Path(row.written).c_str());
    ASSERT_EQ(file.InitCheck(), B_OK);
    ASSERT_EQ(file.File().Write("new", 3), 3);
    EXPECT_NE(Content(home.Path(row.read)), "new") << "not before the commit";
    ASSERT_EQ(file.Commit(), B_OK);
    EXPECT_EQ(Content(home.Path(row.read)), "new");
    EXPECT_EQ(ModeOf(home.Path(row.read)), row.mode);
  }
  umask(umaskWas);
  struct stat info;
  ASSERT_EQ(lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_EQ(Names(home.Root()), (std::vector<std::string>{"link.htm", "page.htm"}))
      << "no temporary file stays";
  EXPECT_EQ(WriteFileWhole("/dev/null", "x", 1), B_OK) << "a device is written in place";
}

TEST(AtomicFileTest, FailuresLeaveTheOldFileAndNoTemporaryFile)
{
  TempHome home;
  const std::string folder = home.Path("OrvelCal");
  mkdir(folder.c_str(), 0755);
  const std::string path = folder + "/Orvel200403.png";
  const std::string big(10000, 'n');
  const struct {
    const char* edge;
    std::function<status_t()> write;
    status_t status;
  } rows[] = {
      {"disk full in the middle",
       [&] {
         FileSizeLimit limit(4096);
         return WriteFileWhole(path.c_str(), big.data(), big.size());
       },
       B_IO_ERROR},
      {"given up before the commit",
       [&] {
         AtomicFile file(path.c_str());
         file.File().Write("new", 3);
         return B_ERROR;
       },
       B_ERROR},
      {"folder missing", [&] { return WriteFileWhole((folder + "/gone/x.png").c_str(), "new", 3); },
       StatusFromErrno(ENOENT)},
      {"a folder in the way", [&] { return WriteFileWhole(folder.c_str(), "new", 3); }, StatusFromErrno(EISDIR)},
      {"no path", [&] { return WriteFileWhole(nullptr, "new", 3); }, B_BAD_VALUE},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    Put(path, "old picture");
    EXPECT_EQ(row.write(), row.status);
    EXPECT_EQ(Content(path), "old picture");
    EXPECT_EQ(Names(folder), std::vector<std::string>{"Orvel200403.png"});
  }
}

} // namespace
