// Helpers of the tests that run the real programs on a private session bus
// and X server: a started program and all it wrote, clicks by xdotool, and
// a fixture that starts and stops Orvella. The test program must have made
// its BApplication. Every wait is bounded.
#pragma once

#include "platform/messaging/AppDefs.h"
#include "platform/messaging/BApplication.h"
#include "platform/messaging/BMessage.h"
#include "tests/platform/TempHome.h"
#include "tests/platform/TestSupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>

const char* const kOrvellaSignature = "application/x-vnd.KX-Orvella";
const QString kOrvellaBusName = "org.orvella.app.application_2fx-vnd_2eKX-Orvella";

// Without a window manager Orvella's window content starts at its stored
// frame's left-top, 130, 130 by default; the panel sits at x 45 with its
// buttons at y 47..69: Broadcast x 10..80, Cancel 85..175, OK 180..270.
constexpr int kButtonY = 130 + 58;
constexpr int kBroadcastX = 130 + 45 + 45;
constexpr int kCancelX = 130 + 45 + 130;
constexpr int kOkX = 130 + 45 + 240;

// A program started by the test, and all it wrote: standard output and
// standard error apart.
class Program {
public:
  Program(const QString& path, const QStringList& args, const QProcessEnvironment& extra = QProcessEnvironment())
  {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("ORVELLA_TEST_TRACE", "1");
    env.insert(extra);
    fProcess.setProcessEnvironment(env);
    QObject::connect(&fProcess, &QProcess::readyReadStandardOutput,
                     [this]() { fOutput += QString::fromUtf8(fProcess.readAllStandardOutput()); });
    QObject::connect(&fProcess, &QProcess::readyReadStandardError,
                     [this]() { fErrors += QString::fromUtf8(fProcess.readAllStandardError()); });
    fProcess.start(path, args);
  }

  ~Program()
  {
    if (fProcess.state() != QProcess::NotRunning) {
      fProcess.kill();
      fProcess.waitForFinished(kWaitMs);
    }
  }

  int Count(const QString& text) const { return fOutput.count(text); }
  bool Said(const QString& text) const { return Count(text) > 0; }
  bool WaitToSay(const QString& text, int times = 1)
  {
    return WaitFor([&]() { return Count(text) >= times; });
  }
  bool WaitToSayOnStderr(const QString& text)
  {
    return WaitFor([&]() { return fErrors.contains(text); });
  }
  bool WaitToExit(int ms = kWaitMs)
  {
    return WaitFor([&]() { return fProcess.state() == QProcess::NotRunning; }, ms);
  }
  int ExitCode() const { return fProcess.exitCode(); }
  // Whether the running program has a library of that name loaded.
  bool HasLoaded(const QString& library) const
  {
    QFile maps(QString("/proc/%1/maps").arg(fProcess.processId()));
    return maps.open(QIODevice::ReadOnly) && QString::fromLatin1(maps.readAll()).contains("/" + library);
  }
  // Standard output, and what a failed check shows: both channels.
  std::string Stdout() const { return fOutput.toStdString(); }
  std::string Stderr() const { return fErrors.toStdString(); }
  std::string Output() const { return (fOutput + fErrors).toStdString(); }

private:
  QProcess fProcess;
  QString fOutput;
  QString fErrors;
};

inline QString BinDir()
{
  return QString::fromLocal8Bit(qgetenv("ORVELLA_BIN_DIR"));
}

inline bool Xdotool(const QStringList& args, QString* output = nullptr)
{
  QProcess xdotool;
  xdotool.start("xdotool", args);
  if (!xdotool.waitForFinished(kWaitMs) || xdotool.exitCode() != 0)
    return false;
  if (output)
    *output = QString::fromUtf8(xdotool.readAllStandardOutput());
  return true;
}

inline bool WindowShown(const char* title)
{
  QString ids;
  return Xdotool({"search", "--onlyvisible", "--name", QString("^%1$").arg(title)}, &ids) && !ids.trimmed().isEmpty();
}

// Moves the window of that title on screen to the point and waits until it
// is there; a move that the program's own placing overtakes is made again.
inline bool PlaceWindow(const char* title, int x, int y)
{
  const QStringList find = {"search", "--onlyvisible", "--name", QString("^%1$").arg(title)};
  const QString at = QString("Position: %1,%2 ").arg(x).arg(y);
  auto placed = [&] {
    QString geometry;
    return Xdotool(find + QStringList{"getwindowgeometry"}, &geometry) && geometry.contains(at);
  };
  for (int attempt = 0; attempt < 8; attempt++) {
    if (!Xdotool(find + QStringList{"windowmove", QString::number(x), QString::number(y)}))
      return false;
    if (WaitFor(placed, 2500))
      return true;
  }
  return false;
}

// The windows of a program's class on screen; an open menu adds one.
inline int VisibleWindows(const char* windowClass)
{
  QString ids;
  if (!Xdotool({"search", "--onlyvisible", "--class", QString("^%1$").arg(windowClass)}, &ids))
    return 0;
  return int(ids.split('\n', Qt::SkipEmptyParts).size());
}

// Clicks at the screen point until `done` holds: the first click may come
// before the window has drawn its new buttons. The buttons clicked here do
// nothing while disabled, so a repeated click is harmless.
inline bool ClickUntil(int x, int y, const std::function<bool()>& done)
{
  for (int attempt = 0; attempt < 8; attempt++) {
    if (!Xdotool({"mousemove", QString::number(x), QString::number(y), "click", "1"}))
      return false;
    if (WaitFor(done, 2500))
      return true;
  }
  return false;
}

// Presses a key until `done` holds; the key goes to the window that has
// the keyboard focus, which a request gives Orvella's.
inline bool PressUntil(const QString& key, const std::function<bool()>& done)
{
  for (int attempt = 0; attempt < 8; attempt++) {
    if (!Xdotool({"key", key}))
      return false;
    if (WaitFor(done, 2500))
      return true;
  }
  return false;
}

// Opens a program's menu by a click, waits until it shows, and walks it
// with keys, as a user may.
inline bool ChooseInMenu(const char* windowClass, int x, int y, const QStringList& keys)
{
  const int before = VisibleWindows(windowClass);
  return ClickUntil(x, y, [&] { return VisibleWindows(windowClass) > before; })
         && Xdotool(QStringList{"key", "--delay", "80"} + keys);
}

// Quits a running Orvella as its Quit item would; a process that stays is
// killed by the id the bus gives for it.
inline void QuitOrvella()
{
  if (!be_roster->IsRunning(kOrvellaSignature))
    return;
  const uint pid = QDBusConnection::sessionBus().interface()->servicePid(kOrvellaBusName).value();
  BMessenger(kOrvellaSignature).SendMessage(B_QUIT_REQUESTED);
  if (!WaitFor([]() { return !be_roster->IsRunning(kOrvellaSignature); }) && pid > 0)
    kill(pid_t(pid), SIGKILL);
}

// A fresh home folder for every test, and no Orvella left after it.
class RoadTest : public testing::Test {
protected:
  void TearDown() override { StopOrvella(); }

  void StartOrvella()
  {
    fOrvella = std::make_unique<Program>(BinDir() + "/Orvella", QStringList());
    ASSERT_TRUE(WaitForOrvella()) << fOrvella->Output();
  }

  static bool WaitForOrvella()
  {
    return WaitFor([]() { return be_roster->IsRunning(kOrvellaSignature) && WindowShown("Orvella"); });
  }

  void StopOrvella()
  {
    QuitOrvella();
    if (fOrvella)
      fOrvella->WaitToExit();
  }

  // Orvella printed the request and its tag: its panel is being preset.
  bool WaitForRequest(const void* tag)
  {
    char line[64];
    snprintf(line, sizeof line, "<- '%p'", tag);
    return fOrvella->WaitToSay(line);
  }

  TempHome fHome;
  std::unique_ptr<Program> fOrvella;
};
