#include "sync/network/CalDavSync.h"

#include "sync/network/HttpClient.h"
#include "sync/network/ResourceSet.h"

#include <algorithm>
#include <map>
#include <set>

namespace {

// Events fetched by one calendar-multiget.
constexpr size_t kMultigetBatch = 500;
// Rounds of a sync-collection that the server cuts short (507 on the
// calendar itself) before the sync gives up.
constexpr int kMaxSyncRounds = 200;

QUrl Resolve(const QUrl& base, const std::string& href)
{
  return base.resolved(QUrl::fromEncoded(QByteArray::fromStdString(href)));
}

// The last part of a path, for a calendar without a display name.
std::string LastPart(const std::string& href)
{
  std::string path = href;
  while (!path.empty() && path.back() == '/')
    path.pop_back();
  const size_t slash = path.rfind('/');
  return QUrl::fromPercentEncoding(QByteArray::fromStdString(path.substr(slash + 1))).toStdString();
}

// The first resource of an answer that is the address asked, else the first one.
const DavResource* Self(const DavAnswer& answer, const QUrl& asked)
{
  const std::vector<DavResource>& resources = answer.multistatus.resources;
  if (resources.empty())
    return nullptr;
  const std::string path = CanonicalHref(asked.toEncoded().toStdString());
  for (const DavResource& resource : resources) {
    if (resource.href == path)
      return &resource;
  }
  return &resources.front();
}

bool Unchanged(const RemoteCalendar& listed, const RemoteCalendar* held)
{
  if (held == nullptr)
    return false;
  if (!listed.token.empty())
    return listed.token == held->token;
  return !listed.ctag.empty() && listed.ctag == held->ctag;
}

// What changed in one calendar since the cached copy: the hrefs to fetch
// and those to drop.
struct Changes {
  std::vector<std::string> fetch;
  std::vector<std::string> removed;
  std::string token;  // the calendar's sync token after them
};

// Every cached href of the calendar that the listing lacks.
void RemovedSince(const ResourceSet& set, const std::string& calendar, const std::map<std::string, std::string>& listed,
                  std::vector<std::string>* removed)
{
  for (const auto& [href, resource] : set.All()) {
    if (resource.calendar == calendar && listed.count(href) == 0)
      removed->push_back(href);
  }
}

void ChangedIn(const ResourceSet& set, const std::map<std::string, std::string>& listed,
               std::vector<std::string>* fetch)
{
  for (const auto& [href, etag] : listed) {
    const Resource* held = set.Find(href);
    if (held == nullptr || held->etag != etag || etag.empty())
      fetch->push_back(href);
  }
}

bool SyncCollectionChanges(HttpClient& http, const QUrl& url, const RemoteCalendar& calendar,
                           const RemoteCalendar* held, const ResourceSet& set, Changes* changes,
                           SyncFailure* failure)
{
  std::string token = held != nullptr ? held->token : std::string();
  bool everything = token.empty();
  std::map<std::string, std::string> listed;
  std::set<std::string> removed;
  for (int round = 0; round < kMaxSyncRounds; round++) {
    DavAnswer answer;
    if (!DavExchange(http, "REPORT", url, 0, SyncCollectionBody(token), &answer, failure)) {
      // A token the server no longer knows: start over from none.
      if ((answer.status == 403 || answer.status == 409) && !token.empty()) {
        *failure = SyncFailure();
        token.clear();
        everything = true;
        listed.clear();
        removed.clear();
        continue;
      }
      return false;
    }
    bool truncated = false;
    for (const DavResource& resource : answer.multistatus.resources) {
      if (resource.href == calendar.href) {
        truncated = truncated || resource.status == 507;
        continue;
      }
      if (resource.status == 404) {
        removed.insert(resource.href);
        listed.erase(resource.href);
      } else if (resource.status >= 200 && resource.status <= 299 && !resource.isCollection) {
        listed[resource.href] = resource.etag;
        removed.erase(resource.href);
      }
    }
    token = answer.multistatus.syncToken;
    if (!truncated) {
      changes->token = token;
      ChangedIn(set, listed, &changes->fetch);
      changes->removed.assign(removed.begin(), removed.end());
      if (everything)
        RemovedSince(set, calendar.href, listed, &changes->removed);
      return true;
    }
  }
  failure->Set(SyncStatus::kBadAnswer, HostText(url) + " keeps cutting its list of changes short");
  return false;
}

bool EtagChanges(HttpClient& http, const QUrl& url, const RemoteCalendar& calendar, const ResourceSet& set,
                 Changes* changes, SyncFailure* failure)
{
  DavAnswer answer;
  if (!DavExchange(http, "PROPFIND", url, 1, kEtagsBody, &answer, failure))
    return false;
  std::map<std::string, std::string> listed;
  for (const DavResource& resource : answer.multistatus.resources) {
    if (resource.href != calendar.href && !resource.isCollection && resource.status >= 200 && resource.status <= 299)
      listed[resource.href] = resource.etag;
  }
  ChangedIn(set, listed, &changes->fetch);
  RemovedSince(set, calendar.href, listed, &changes->removed);
  changes->token = calendar.token;
  return true;
}

bool FetchChanged(HttpClient& http, const QUrl& url, const RemoteCalendar& calendar, const Changes& changes,
                  ResourceSet* set, SyncFailure* failure)
{
  for (const std::string& href : changes.removed)
    set->Remove(href);
  for (size_t first = 0; first < changes.fetch.size(); first += kMultigetBatch) {
    const size_t last = std::min(first + kMultigetBatch, changes.fetch.size());
    const std::vector<std::string> batch(changes.fetch.begin() + long(first), changes.fetch.begin() + long(last));
    DavAnswer answer;
    if (!DavExchange(http, "REPORT", url, 1, MultigetBody(batch), &answer, failure))
      return false;
    for (const DavResource& resource : answer.multistatus.resources) {
      if (std::find(batch.begin(), batch.end(), resource.href) == batch.end())
        continue;
      // Gone since it was listed, or no calendar object: not kept.
      if (resource.status != 200 || !set->Put({calendar.href, resource.href, resource.etag, resource.calendarData}))
        set->Remove(resource.href);
    }
  }
  return true;
}

} // namespace

bool ListCalendars(HttpClient& http, const QUrl& home, bool homeIsCalendar, std::vector<RemoteCalendar>* calendars,
                   SyncFailure* failure)
{
  DavAnswer answer;
  if (!DavExchange(http, "PROPFIND", home, homeIsCalendar ? 0 : 1, kCalendarsBody, &answer, failure))
    return false;
  calendars->clear();
  for (const DavResource& resource : answer.multistatus.resources) {
    if (resource.status != 200 || !resource.isCalendar || (resource.listsComponents && !resource.holdsEvents))
      continue;
    RemoteCalendar calendar;
    calendar.href = resource.href;
    calendar.name = resource.displayName.empty() ? LastPart(resource.href) : resource.displayName;
    calendar.color = resource.color;
    calendar.ctag = resource.ctag;
    calendar.token = resource.syncToken;
    calendar.syncCollection = resource.syncCollection;
    calendars->push_back(calendar);
  }
  return true;
}

bool FindCalendars(HttpClient& http, const QUrl& address, CalDavFound* found, SyncFailure* failure)
{
  *found = CalDavFound();
  std::string home, principal;
  QUrl base = address;
  DavAnswer answer;
  if (DavExchange(http, "PROPFIND", address, 0, kFindHomeBody, &answer, failure)) {
    const DavResource* self = Self(answer, address);
    base = answer.url;
    if (self != nullptr && self->isCalendar) {
      found->home = answer.url.toString(QUrl::FullyEncoded).toStdString();
      found->homeIsCalendar = true;
      return ListCalendars(http, answer.url, true, &found->calendars, failure);
    }
    if (self != nullptr) {
      home = self->calendarHome;
      principal = self->principal;
    }
  } else if (failure->status != SyncStatus::kNotCalendar) {
    return false;
  }
  if (home.empty() && principal.empty()) {
    *failure = SyncFailure();
    const QUrl wellKnown = address.resolved(QUrl("/.well-known/caldav"));
    if (!DavExchange(http, "PROPFIND", wellKnown, 0, kFindHomeBody, &answer, failure)) {
      if (failure->status == SyncStatus::kNotCalendar)
        failure->Set(SyncStatus::kNotCalendar, HostText(address) + " offers no CalDAV calendars");
      return false;
    }
    base = answer.url;
    if (const DavResource* self = Self(answer, wellKnown)) {
      home = self->calendarHome;
      principal = self->principal;
    }
  }
  if (home.empty() && !principal.empty()) {
    const QUrl where = Resolve(base, principal);
    if (!DavExchange(http, "PROPFIND", where, 0, kFindHomeBody, &answer, failure))
      return false;
    base = answer.url;
    if (const DavResource* self = Self(answer, where))
      home = self->calendarHome;
  }
  if (home.empty()) {
    failure->Set(SyncStatus::kNotCalendar, HostText(address) + " names no calendar home for this user");
    return false;
  }
  const QUrl homeUrl = Resolve(base, home);
  found->home = homeUrl.toString(QUrl::FullyEncoded).toStdString();
  if (!ListCalendars(http, homeUrl, false, &found->calendars, failure))
    return false;
  if (found->calendars.empty()) {
    failure->Set(SyncStatus::kNotCalendar, HostText(address) + " holds no calendar with events for this user");
    return false;
  }
  return true;
}

SyncResult SyncCalDav(HttpClient& http, const CalendarSource& source, const CacheState& cached,
                      const std::string& cachedData)
{
  SyncResult result;
  result.state = cached;
  std::vector<RemoteCalendar> listed;
  bool listedNow = false;
  if (!cached.home.empty()) {
    listedNow = ListCalendars(http, QUrl::fromEncoded(QByteArray::fromStdString(cached.home)), cached.homeIsCalendar,
                              &listed, &result.failure);
    // Only a home that moved is looked for again.
    if (!listedNow && result.failure.status != SyncStatus::kNotCalendar)
      return result;
  }
  if (!listedNow) {
    result.failure = SyncFailure();
    CalDavFound found;
    if (!FindCalendars(http, QUrl(QString::fromStdString(source.FetchUrl())), &found, &result.failure))
      return result;
    result.state.home = found.home;
    result.state.homeIsCalendar = found.homeIsCalendar;
    listed = found.calendars;
  }

  std::set<std::string> picked;
  for (const std::string& href : source.calendars)
    picked.insert(CanonicalHref(href));
  const QUrl home = QUrl::fromEncoded(QByteArray::fromStdString(result.state.home));
  ResourceSet set;
  bool parsed = false;
  auto parse = [&]() {
    if (!parsed)
      set = ResourceSet::Parse(cachedData);
    parsed = true;
  };

  std::vector<RemoteCalendar> kept;
  for (const RemoteCalendar& calendar : listed) {
    if (!picked.empty() && picked.count(calendar.href) == 0)
      continue;
    const RemoteCalendar* held = cached.Calendar(calendar.href);
    RemoteCalendar now = calendar;
    if (Unchanged(calendar, held)) {
      // A new name or colour needs no fetching.
      now.token = held->token;
      kept.push_back(now);
      continue;
    }
    parse();
    if (held == nullptr)
      set.RemoveCalendar(calendar.href);
    const QUrl url = Resolve(home, calendar.href);
    Changes changes;
    const bool found = calendar.syncCollection
                           ? SyncCollectionChanges(http, url, calendar, held, set, &changes, &result.failure)
                           : EtagChanges(http, url, calendar, set, &changes, &result.failure);
    if (!found || !FetchChanged(http, url, calendar, changes, &set, &result.failure))
      return result;
    now.token = changes.token;
    kept.push_back(now);
    result.changed = true;
  }
  for (const RemoteCalendar& held : cached.calendars) {
    const bool stays = std::any_of(kept.begin(), kept.end(),
                                   [&](const RemoteCalendar& calendar) { return calendar.href == held.href; });
    if (!stays) {
      parse();
      set.RemoveCalendar(held.href);
      result.changed = true;
    }
  }
  result.state.calendars = kept;
  if (result.changed)
    result.data = set.Format();
  return result;
}
