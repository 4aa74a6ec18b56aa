#include "platform/messaging/Launch.h"

#include <QProcess>
#include <QStringList>

bool StartDetached(const std::string& program, const std::vector<std::string>& arguments)
{
  QStringList list;
  for (const std::string& argument : arguments)
    list << QString::fromStdString(argument);
  return QProcess::startDetached(QString::fromStdString(program), list);
}
