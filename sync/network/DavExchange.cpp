#include "sync/network/DavExchange.h"

#include "sync/network/HttpClient.h"

namespace {

const char kXmlHead[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

QByteArray Escaped(const std::string& text)
{
  return QByteArray::fromStdString(text).replace('&', "&amp;").replace('<', "&lt;").replace('>', "&gt;");
}

} // namespace

const QByteArray kFindHomeBody = QByteArray(kXmlHead)
    + "<d:propfind xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:prop>"
      "<d:resourcetype/><d:current-user-principal/><c:calendar-home-set/>"
      "</d:prop></d:propfind>\n";

const QByteArray kCalendarsBody = QByteArray(kXmlHead)
    + "<d:propfind xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\""
      " xmlns:cs=\"http://calendarserver.org/ns/\" xmlns:a=\"http://apple.com/ns/ical/\"><d:prop>"
      "<d:resourcetype/><d:displayname/><a:calendar-color/><cs:getctag/><d:sync-token/>"
      "<d:supported-report-set/><c:supported-calendar-component-set/>"
      "</d:prop></d:propfind>\n";

const QByteArray kEtagsBody = QByteArray(kXmlHead)
    + "<d:propfind xmlns:d=\"DAV:\"><d:prop><d:resourcetype/><d:getetag/></d:prop></d:propfind>\n";

QByteArray SyncCollectionBody(const std::string& token)
{
  return QByteArray(kXmlHead) + "<d:sync-collection xmlns:d=\"DAV:\"><d:sync-token>" + Escaped(token)
         + "</d:sync-token><d:sync-level>1</d:sync-level><d:prop><d:getetag/></d:prop></d:sync-collection>\n";
}

QByteArray MultigetBody(const std::vector<std::string>& hrefs)
{
  QByteArray body = QByteArray(kXmlHead)
                    + "<c:calendar-multiget xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
                      "<d:prop><d:getetag/><c:calendar-data/></d:prop>";
  for (const std::string& href : hrefs)
    body += "<d:href>" + Escaped(href) + "</d:href>";
  return body + "</c:calendar-multiget>\n";
}

std::string HostText(const QUrl& url)
{
  std::string host = url.host().toStdString();
  if (url.port() > 0)
    host += ":" + std::to_string(url.port());
  return host;
}

bool DavExchange(HttpClient& http, const QByteArray& verb, const QUrl& url, int depth, const QByteArray& body,
                 DavAnswer* answer, SyncFailure* failure)
{
  HttpRequest request{verb, url, body, {{"Content-Type", "application/xml; charset=utf-8"}}};
  if (depth >= 0)
    request.headers.append({"Depth", QByteArray::number(depth)});
  const HttpAnswer got = http.Run(request);
  answer->status = got.status;
  answer->url = got.url;
  if (got.Failed()) {
    failure->Set(got.failure, got.detail);
    return false;
  }
  const std::string where = HostText(got.url) + got.url.path().toStdString();
  if (got.status != 207) {
    if (got.status >= 500)
      failure->Set(SyncStatus::kServerError, where + " answers HTTP " + std::to_string(got.status));
    else
      failure->Set(SyncStatus::kNotCalendar,
                   where + " is no CalDAV calendar (HTTP " + std::to_string(got.status) + ")");
    return false;
  }
  std::string error;
  if (!ReadMultistatus(std::string_view(got.body.constData(), size_t(got.body.size())), &answer->multistatus, &error)) {
    failure->Set(SyncStatus::kBadAnswer, where + ": " + error);
    return false;
  }
  return true;
}
