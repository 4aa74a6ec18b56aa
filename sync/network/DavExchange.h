// The WebDAV requests a CalDAV sync makes (PROPFIND and REPORT, with the
// bodies this program sends) and the reading of their answers, on an
// HttpClient.
//
//   DavAnswer answer;
//   SyncFailure failure;
//   if (DavExchange(http, "PROPFIND", url, 1, kCalendarsBody, &answer, &failure))
//     for (const DavResource& resource : answer.multistatus.resources) ...
#pragma once

#include <QByteArray>
#include <QUrl>

#include <string>
#include <vector>

#include "sync/network/Multistatus.h"
#include "sync/SyncStep.h"

class HttpClient;

struct DavAnswer {
  Multistatus multistatus;
  int status = 0;  // the HTTP status
  QUrl url;        // where the answer came from, after redirects
};

// PROPFIND bodies: where the calendars of a user are, what each calendar
// is, and the ETags of a calendar's resources.
extern const QByteArray kFindHomeBody;
extern const QByteArray kCalendarsBody;
extern const QByteArray kEtagsBody;

// A sync-collection REPORT from the token (empty: everything).
QByteArray SyncCollectionBody(const std::string& token);
// A calendar-multiget REPORT of the hrefs.
QByteArray MultigetBody(const std::vector<std::string>& hrefs);

// Sends the request (depth -1: no Depth header) and reads its multistatus;
// false with the failure set when it fails, the answer is not 207 or
// cannot be read (answer->status still tells the HTTP status).
bool DavExchange(HttpClient& http, const QByteArray& verb, const QUrl& url, int depth, const QByteArray& body,
                 DavAnswer* answer, SyncFailure* failure);

// The host (and port) of an address, for messages.
std::string HostText(const QUrl& url);
