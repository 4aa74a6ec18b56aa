#include "platform/messaging/Launch.h"

#include <QProcess>
#include <QStringList>

#include <fstream>

namespace {

void SetUp(QProcess* process, const std::string& program, const std::vector<std::string>& arguments)
{
  QStringList list;
  for (const std::string& argument : arguments)
    list << QString::fromStdString(argument);
  process->setProgram(QString::fromStdString(program));
  process->setArguments(list);
}

} // namespace

bool StartDetached(const std::string& program, const std::vector<std::string>& arguments, LaunchOutput output)
{
  QProcess process;
  SetUp(&process, program, arguments);
  if (output == LaunchOutput::kDiscard) {
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
  }
  return process.startDetached();
}

bool StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& errorFile, int64* processId)
{
  QProcess process;
  SetUp(&process, program, arguments);
  process.setStandardInputFile(QProcess::nullDevice());
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QString::fromStdString(errorFile));
  qint64 started = 0;
  const bool ok = process.startDetached(&started);
  if (processId != nullptr)
    *processId = ok ? int64(started) : 0;
  return ok;
}

bool ProcessEnded(int64 processId)
{
  // The state follows the last ')' of /proc/PID/stat, as the name may hold
  // any character; 'Z' is a process that has ended and not been collected.
  std::ifstream stat("/proc/" + std::to_string(processId) + "/stat");
  std::string line;
  if (processId <= 0 || !std::getline(stat, line))
    return true;
  const size_t close = line.rfind(')');
  return close == std::string::npos || close + 2 >= line.size() || line[close + 2] == 'Z' || line[close + 2] == 'X';
}
