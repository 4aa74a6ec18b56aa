// One HTTP exchange at a time, run to its end on the calling thread (the
// sync worker's; it waits in a local event loop of its own, never the
// window's), with every limit a calendar server must keep:
//
//   - at most 50 MB an answer, checked as it arrives;
//   - time limits: for the answer to start (the connection made, the
//     request sent and the server's work), for each pause while the body
//     arrives, and for the whole exchange;
//   - at most 5 redirects, followed by hand: the password goes only to the
//     origin (scheme, host and port) it was given for, never to a host a
//     redirect leads to;
//   - a password never goes over plain http:// to another machine;
//   - a TLS certificate that cannot be verified ends the exchange, with
//     the host named; there is no way to accept it anyway.
//
//   HttpClient http;
//   http.SetCredentials(QUrl("https://dav.example.org/"), "alice", password);
//   HttpAnswer answer = http.Run({"PROPFIND", url, body, {{"Depth", "1"}}});
//   if (answer.Failed()) ... answer.failure, answer.detail
//   else if (answer.status == 207) ... answer.body
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QUrl>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "sync/SourceState.h"
#include "sync/SyncNetwork.h"

class QEventLoop;
class QNetworkAccessManager;

struct HttpRequest {
  QByteArray verb = "GET";
  QUrl url;
  QByteArray body;
  QList<QPair<QByteArray, QByteArray>> headers;  // e.g. {"Depth", "1"}
};

struct HttpAnswer {
  // kSynced when an answer came (of any HTTP status but 401); else why not.
  SyncStatus failure = SyncStatus::kSynced;
  std::string detail;  // the host and what went wrong
  int status = 0;      // the HTTP status
  QByteArray body;
  QUrl url;            // where the answer came from, after redirects
  QList<QPair<QByteArray, QByteArray>> headers;

  bool Failed() const { return failure != SyncStatus::kSynced; }
  // A header's value (names compared without regard to case); empty when absent.
  QByteArray Header(const QByteArray& name) const;
};

class HttpClient {
public:
  explicit HttpClient(const HttpLimits& limits = HttpLimits());
  ~HttpClient();
  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;

  // Basic authentication for the origin of `where`; an empty user sends none.
  void SetCredentials(const QUrl& where, const std::string& user, const std::string& password);
  bool HasPassword() const { return !fPassword.empty(); }

  HttpAnswer Run(const HttpRequest& request);
  // From any thread: ends the running exchange; this one and every later
  // one fail at once.
  void Cancel();
  bool Cancelled() const { return fCancelled; }
  // Requests sent so far, each redirect counted.
  int32 Requests() const { return fRequests; }

private:
  // One request and its answer, no redirect followed.
  void Exchange(const HttpRequest& request, qint64 deadlineMs, HttpAnswer* answer);
  bool SameOrigin(const QUrl& url) const;

  HttpLimits fLimits;
  std::unique_ptr<QNetworkAccessManager> fManager;
  QUrl fOrigin;
  std::string fUser;
  std::string fPassword;
  std::atomic<bool> fCancelled{false};
  std::mutex fLoopLock;
  QEventLoop* fLoop = nullptr;  // the loop an exchange waits in, under fLoopLock
  int32 fRequests = 0;
};
