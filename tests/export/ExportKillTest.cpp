// OrvellaExport as a real process killed inside its writes: every picture
// and the page it had written before are still whole afterwards, old or
// new, never empty or cut short.
#include "tests/export/ExportFixture.h"
#include "tests/platform/TestSupport.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <random>

namespace {

class ExportKillTest : public testing::Test {
protected:
  void SetUp() override
  {
    mkdir(fHome.Path("people").c_str(), 0755);
    mkdir(fHome.Path("people/OrvelCal").c_str(), 0755);
    mkdir(fHome.Path("run").c_str(), 0700);
    mkdir(fHome.Path("bin").c_str(), 0755);
    // A user day on every day of 2004 makes the page larger than any picture.
    std::string markDays;
    for (int month = 1; month <= 12; month++) {
      for (int day = 1; day <= 28; day++)
        markDays += "[HD][2004/" + std::to_string(month) + "/" + std::to_string(day) + "][Day of the test][user]\n";
    }
    WriteWholeFile(fHome.Path("people/MarkDays"), markDays);
    // The page is not opened: a stand-in takes the opener's place.
    WriteWholeFile(fHome.Path("bin/xdg-open"), "#!/bin/sh\nexit 0\n");
    chmod(fHome.Path("bin/xdg-open").c_str(), 0755);
  }

  // The twelve pictures and the two-a-row page of 2004.
  static std::vector<std::string> Names()
  {
    std::vector<std::string> names;
    for (int month = 1; month <= 12; month++)
      names.push_back("Orvel2004" + std::string(month < 10 ? "0" : "") + std::to_string(month) + ".png");
    names.push_back("YCAL2004.htm");
    return names;
  }

  std::string Path(const std::string& name) const { return fHome.Path("people/OrvelCal/" + name); }

  void PutOldFiles()
  {
    for (const std::string& name : Names())
      WriteWholeFile(Path(name), "old " + name);
  }

  // Starts the export, with files limited to `maxFileBytes` when given:
  // the kernel then ends it with SIGXFSZ in the write that passes it.
  void Start(QProcess* process, long maxFileBytes = 0)
  {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", QString::fromStdString(fHome.Root()));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(fHome.Path(".config")));
    env.insert("XDG_DATA_HOME", QString::fromStdString(fHome.Path(".local/share")));
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(fHome.Path("run")));
    env.insert("PATH", QString::fromStdString(fHome.Path("bin")) + ":" + env.value("PATH"));
    process->setProcessEnvironment(env);
    const QString program = QString::fromLocal8Bit(qgetenv("ORVELLA_BIN_DIR")) + "/OrvellaExport";
    if (maxFileBytes > 0)
      process->start("prlimit", {QString("--fsize=%1").arg(maxFileBytes), program, "2004", "1", "2"});
    else
      process->start(program, {"2004", "1", "2"});
    ASSERT_TRUE(process->waitForStarted(kWaitMs));
  }

  // What a whole export writes.
  std::map<std::string, std::string> Export()
  {
    QProcess process;
    Start(&process);
    EXPECT_TRUE(process.waitForFinished(kWaitMs) && process.exitCode() == 0) << process.readAll().toStdString();
    std::map<std::string, std::string> written;
    for (const std::string& name : Names())
      written[name] = ReadWholeFile(Path(name));
    return written;
  }

  // Every file is either the old one or the whole new one.
  void ExpectOldOrNew(const std::map<std::string, std::string>& fresh, int* replaced)
  {
    for (const std::string& name : Names()) {
      const std::string now = ReadWholeFile(Path(name));
      if (now == fresh.at(name))
        ++*replaced;
      else
        EXPECT_TRUE(now == "old " + name) << name << " is neither the old file nor the new one: " << now.size()
                                          << " bytes";
    }
  }

  TempHome fHome;
};

TEST_F(ExportKillTest, KilledInsideItsWritesLeavesEveryFileWhole)
{
  const std::map<std::string, std::string> fresh = Export();
  size_t largestPicture = 0;
  for (const auto& [name, content] : fresh) {
    ASSERT_GT(content.size(), 100u) << name;
    if (name.find(".png") != std::string::npos)
      largestPicture = std::max(largestPicture, content.size());
  }
  ASSERT_GT(fresh.at("YCAL2004.htm").size(), largestPicture + 1) << "the page is the largest file";

  const struct {
    const char* edge;
    long maxFileBytes;
    int replaced; // files that are new afterwards
  } rows[] = {
      {"killed in the first picture", 100, 0},
      {"killed in the page, after every picture", long(largestPicture) + 1, 12},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    PutOldFiles();
    QProcess process;
    Start(&process, row.maxFileBytes);
    ASSERT_TRUE(process.waitForFinished(kWaitMs));
    EXPECT_EQ(process.exitStatus(), QProcess::CrashExit) << "SIGXFSZ ended it inside a write";
    int replaced = 0;
    ExpectOldOrNew(fresh, &replaced);
    EXPECT_EQ(replaced, row.replaced);
  }

  // Kills at random moments of a whole export.
  QElapsedTimer clock;
  clock.start();
  Export();
  const int lasts = int(clock.elapsed());
  std::mt19937 random(std::random_device{}());
  for (int kill = 0; kill < 6; kill++) {
    PutOldFiles();
    QProcess process;
    Start(&process);
    QThread::msleep(std::uniform_int_distribution<int>(0, lasts)(random));
    process.kill();
    ASSERT_TRUE(process.waitForFinished(kWaitMs));
    int replaced = 0;
    ExpectOldOrNew(fresh, &replaced);
  }
}

} // namespace
