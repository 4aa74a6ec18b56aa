#include "sync/CalendarSource.h"

#include "marks/IcsFolder.h"

#include <QCryptographicHash>
#include <QUrl>

#include <arpa/inet.h>
#include <strings.h>

std::string CalendarSource::Id() const
{
  QCryptographicHash hash(QCryptographicHash::Sha256);
  hash.addData(QByteArray::fromStdString(url));
  hash.addData(QByteArray("\n", 1));
  hash.addData(QByteArray::fromStdString(user));
  return hash.result().toHex().left(16).toStdString();
}

uint32 CalendarSource::KindCode() const
{
  // The calendar folder's rule, on the kind as a file name.
  const uint32 code = CalendarKind(kind + ".ics");
  return code != 0 ? code : 'evnt';
}

std::string CalendarSource::FetchUrl() const
{
  QUrl address(QString::fromStdString(url));
  if (address.scheme().compare("webcal", Qt::CaseInsensitive) == 0)
    address.setScheme("https");
  return address.toString(QUrl::FullyEncoded).toStdString();
}

std::string CalendarSource::Title() const
{
  const QUrl address(QString::fromStdString(url));
  std::string title = address.host().toStdString();
  if (address.port() > 0)
    title += ":" + std::to_string(address.port());
  std::string path = address.path().toStdString();
  constexpr size_t kLongest = 40;
  if (path.size() > kLongest)
    path = "…" + path.substr(path.size() - kLongest);
  return title + path;
}

CalendarSource::Type GuessSourceType(const std::string& url)
{
  const QUrl address(QString::fromStdString(url));
  if (address.scheme().compare("webcal", Qt::CaseInsensitive) == 0
      || address.path().endsWith(".ics", Qt::CaseInsensitive))
    return CalendarSource::kFeed;
  return CalendarSource::kCalDav;
}

bool IsLocalHost(const std::string& host)
{
  if (strcasecmp(host.c_str(), "localhost") == 0)
    return true;
  // 127.0.0.0/8 and ::1, as written in an address (IPv6 without brackets).
  in_addr v4;
  if (inet_pton(AF_INET, host.c_str(), &v4) == 1)
    return (ntohl(v4.s_addr) >> 24) == 127;
  in6_addr v6;
  return inet_pton(AF_INET6, host.c_str(), &v6) == 1 && IN6_IS_ADDR_LOOPBACK(&v6);
}

bool CheckSourceAddress(const std::string& url, const std::string& user, std::string* reason)
{
  const QUrl address(QString::fromStdString(url), QUrl::StrictMode);
  const QString scheme = address.scheme().toLower();
  if (!address.isValid() || address.host().isEmpty()) {
    *reason = "no address of a server (such as https://example.org/calendar)";
    return false;
  }
  if (scheme != "https" && scheme != "webcal" && scheme != "http") {
    *reason = "only https://, webcal:// and http:// addresses are synced";
    return false;
  }
  if (!address.password().isEmpty()) {
    *reason = "the address holds a password; give the user name on its own and the password when asked";
    return false;
  }
  if (scheme == "http" && !user.empty() && !IsLocalHost(address.host().toStdString())) {
    *reason = "a password is never sent over plain http:// to " + address.host().toStdString()
              + "; use https://";
    return false;
  }
  return true;
}
