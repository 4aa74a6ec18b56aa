#include "platform/messaging/Launch.h"

#include <QProcess>
#include <QStringList>

bool StartDetached(const std::string& program, const std::vector<std::string>& arguments, LaunchOutput output)
{
  QStringList list;
  for (const std::string& argument : arguments)
    list << QString::fromStdString(argument);
  QProcess process;
  process.setProgram(QString::fromStdString(program));
  process.setArguments(list);
  if (output == LaunchOutput::kDiscard) {
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
  }
  return process.startDetached();
}
