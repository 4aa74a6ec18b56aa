#include "sync/network/FeedSync.h"

#include "sync/network/DavExchange.h"
#include "sync/network/HttpClient.h"

#include <strings.h>

bool HoldsCalendar(const std::string& text)
{
  // At the start of a line, in any case; a byte order mark may come first.
  const char begin[] = "BEGIN:VCALENDAR";
  const size_t length = sizeof begin - 1;
  size_t at = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  while (at + length <= text.size()) {
    if (strncasecmp(text.data() + at, begin, length) == 0)
      return true;
    at = text.find('\n', at);
    if (at == std::string::npos)
      break;
    at++;
  }
  return false;
}

SyncResult SyncFeed(HttpClient& http, const CalendarSource& source, const CacheState& cached, bool haveData)
{
  SyncResult result;
  result.state = cached;
  HttpRequest request{"GET", QUrl(QString::fromStdString(source.FetchUrl())), {}, {{"Accept", "text/calendar, */*"}}};
  if (haveData && !cached.etag.empty())
    request.headers.append({"If-None-Match", QByteArray::fromStdString(cached.etag)});
  if (haveData && !cached.lastModified.empty())
    request.headers.append({"If-Modified-Since", QByteArray::fromStdString(cached.lastModified)});
  const HttpAnswer answer = http.Run(request);
  if (answer.Failed()) {
    result.failure.Set(answer.failure, answer.detail);
    return result;
  }
  const std::string where = HostText(answer.url) + answer.url.path().toStdString();
  if (answer.status == 304 && haveData)
    return result;
  if (answer.status >= 500) {
    result.failure.Set(SyncStatus::kServerError, where + " answers HTTP " + std::to_string(answer.status));
    return result;
  }
  if (answer.status != 200) {
    result.failure.Set(SyncStatus::kNotCalendar, where + " holds no calendar (HTTP " + std::to_string(answer.status) + ")");
    return result;
  }
  std::string data = answer.body.toStdString();
  if (!HoldsCalendar(data)) {
    result.failure.Set(SyncStatus::kNotCalendar, where + " holds no calendar (no BEGIN:VCALENDAR line)");
    return result;
  }
  result.state.etag = answer.Header("ETag").toStdString();
  result.state.lastModified = answer.Header("Last-Modified").toStdString();
  result.changed = true;
  result.data = std::move(data);
  return result;
}
