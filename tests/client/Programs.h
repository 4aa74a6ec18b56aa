// Real programs in tests: started with a trace of what they show, their
// output collected, and clicked and typed at with xdotool on the test's
// private X server. Every wait is bounded.
#pragma once

#include "platform/messaging/AppDefs.h"
#include "platform/messaging/BMessenger.h"
#include "platform/messaging/BRoster.h"
#include "tests/platform/TestSupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QProcessEnvironment>

#include <csignal>
#include <functional>
#include <string>

inline constexpr const char* kOrvellaSignature = "application/x-vnd.KX-Orvella";
inline const QString kOrvellaBusName = "org.orvella.app.application_2fx-vnd_2eKX-Orvella";

// A program started by the test, and all it printed.
class Program {
public:
  // `environment` holds further "NAME=value" entries.
  Program(const QString& path, const QStringList& args, const QStringList& environment = {})
  {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("ORVELLA_TEST_TRACE", "1");
    for (const QString& entry : environment)
      env.insert(entry.section('=', 0, 0), entry.section('=', 1));
    fProcess.setProcessEnvironment(env);
    fProcess.setProcessChannelMode(QProcess::MergedChannels);
    QObject::connect(&fProcess, &QProcess::readyReadStandardOutput,
                     [this]() { fOutput += QString::fromUtf8(fProcess.readAllStandardOutput()); });
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
  bool WaitToExit() { return WaitFor([&]() { return fProcess.state() == QProcess::NotRunning; }); }
  int ExitCode() const { return fProcess.exitCode(); }
  std::string Output() const { return fOutput.toStdString(); }

private:
  QProcess fProcess;
  QString fOutput;
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
