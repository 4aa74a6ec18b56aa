#include "sync/network/HttpClient.h"

#include "sync/CalendarSource.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSslError>
#include <QTimer>

#include <algorithm>

namespace {

const char kUserAgent[] = "Orvella/0.1 (calendar sync)";

bool IsRedirect(int status)
{
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

std::string HostOf(const QUrl& url)
{
  std::string host = url.host().toStdString();
  if (url.port() > 0)
    host += ":" + std::to_string(url.port());
  return host;
}

// Overwrites a password before its memory is given back.
void Wipe(std::string* secret)
{
  volatile char* bytes = secret->data();
  for (size_t i = 0; i < secret->size(); i++)
    bytes[i] = 0;
  secret->clear();
}

bool IsConnectionFailure(QNetworkReply::NetworkError error)
{
  switch (error) {
  case QNetworkReply::ConnectionRefusedError:
  case QNetworkReply::RemoteHostClosedError:
  case QNetworkReply::HostNotFoundError:
  case QNetworkReply::TimeoutError:
  case QNetworkReply::TemporaryNetworkFailureError:
  case QNetworkReply::NetworkSessionFailedError:
  case QNetworkReply::UnknownNetworkError:
  case QNetworkReply::ProxyConnectionRefusedError:
  case QNetworkReply::ProxyConnectionClosedError:
  case QNetworkReply::ProxyNotFoundError:
  case QNetworkReply::ProxyTimeoutError:
    return true;
  default:
    return false;
  }
}

} // namespace

QByteArray HttpAnswer::Header(const QByteArray& name) const
{
  for (const auto& [key, value] : headers) {
    if (key.compare(name, Qt::CaseInsensitive) == 0)
      return value;
  }
  return QByteArray();
}

HttpClient::HttpClient(const HttpLimits& limits)
    : fLimits(limits), fManager(std::make_unique<QNetworkAccessManager>())
{
  // Answers are the data themselves: nothing is kept between exchanges
  // but the connections.
  fManager->setCookieJar(nullptr);
}

HttpClient::~HttpClient()
{
  Wipe(&fPassword);
}

void HttpClient::SetCredentials(const QUrl& where, const std::string& user, const std::string& password)
{
  Wipe(&fPassword);
  fOrigin = where.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemoveUserInfo);
  fUser = user;
  fPassword = password;
}

bool HttpClient::SameOrigin(const QUrl& url) const
{
  return fOrigin.isValid() && url.scheme().compare(fOrigin.scheme(), Qt::CaseInsensitive) == 0
         && url.host().compare(fOrigin.host(), Qt::CaseInsensitive) == 0
         && url.port(url.scheme() == "https" ? 443 : 80) == fOrigin.port(fOrigin.scheme() == "https" ? 443 : 80);
}

void HttpClient::Cancel()
{
  fCancelled = true;
  std::lock_guard<std::mutex> lock(fLoopLock);
  if (fLoop != nullptr)
    QMetaObject::invokeMethod(fLoop, "quit", Qt::QueuedConnection);
}

HttpAnswer HttpClient::Run(const HttpRequest& request)
{
  QElapsedTimer clock;
  clock.start();
  HttpAnswer answer;
  HttpRequest current = request;
  for (int redirects = 0;; redirects++) {
    Exchange(current, fLimits.totalMs - clock.elapsed(), &answer);
    if (answer.Failed() || !IsRedirect(answer.status))
      return answer;
    const QByteArray location = answer.Header("Location");
    const QUrl next = answer.url.resolved(QUrl::fromEncoded(location));
    if (redirects == fLimits.maxRedirects) {
      answer.failure = SyncStatus::kTooManyRedirects;
      answer.detail = "more than " + std::to_string(fLimits.maxRedirects) + " redirects, the last from "
                      + HostOf(answer.url);
      return answer;
    }
    if (location.isEmpty() || !next.isValid() || (next.scheme() != "https" && next.scheme() != "http")) {
      answer.failure = SyncStatus::kBadAnswer;
      answer.detail = HostOf(answer.url) + " redirects to no http(s) address";
      return answer;
    }
    if (answer.status == 303) {
      current.verb = "GET";
      current.body.clear();
    }
    current.url = next;
  }
}

void HttpClient::Exchange(const HttpRequest& request, qint64 deadlineMs, HttpAnswer* answer)
{
  *answer = HttpAnswer();
  answer->url = request.url;
  const std::string host = HostOf(request.url);
  if (fCancelled) {
    answer->failure = SyncStatus::kNotSynced;
    answer->detail = "cancelled";
    return;
  }
  QNetworkRequest out(request.url);
  out.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
  out.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  out.setHeader(QNetworkRequest::UserAgentHeader, kUserAgent);
  for (const auto& [name, value] : request.headers)
    out.setRawHeader(name, value);
  if (!fUser.empty() && SameOrigin(request.url)) {
    if (request.url.scheme() != "https" && !IsLocalHost(request.url.host().toStdString())) {
      answer->failure = SyncStatus::kPlainHttpRefused;
      answer->detail = "the password is not sent over plain http:// to " + host;
      return;
    }
    const QByteArray pair = QByteArray::fromStdString(fUser) + ':' + QByteArray::fromStdString(fPassword);
    out.setRawHeader("Authorization", "Basic " + pair.toBase64());
  }

  fRequests++;
  QNetworkReply* reply = fManager->sendCustomRequest(out, request.verb, request.body);
  QEventLoop loop;
  QTimer headers, pause, total;
  for (QTimer* timer : {&headers, &pause, &total})
    timer->setSingleShot(true);
  SyncStatus failure = SyncStatus::kSynced;
  std::string detail;
  auto fail = [&](SyncStatus why, const std::string& text) {
    if (failure != SyncStatus::kSynced)
      return;
    failure = why;
    detail = text;
    reply->abort();
  };
  const std::string limit = std::to_string(fLimits.maxBytes / 1000000) + " MB";
  QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&]() {
    headers.stop();
    pause.start(fLimits.pauseMs);
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > fLimits.maxBytes)
      fail(SyncStatus::kTooLarge, host + " sends an answer larger than " + limit);
  });
  QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&]() {
    pause.start(fLimits.pauseMs);
    answer->body += reply->read(fLimits.maxBytes + 1 - answer->body.size());
    if (answer->body.size() > fLimits.maxBytes)
      fail(SyncStatus::kTooLarge, host + " sends an answer larger than " + limit);
  });
  QObject::connect(reply, &QNetworkReply::sslErrors, &loop, [&](const QList<QSslError>& errors) {
    // Nothing is ignored: the handshake fails after this.
    failure = SyncStatus::kCertificate;
    detail = "the certificate of " + request.url.host().toStdString() + " is not trusted"
             + (errors.isEmpty() ? std::string() : ": " + errors.first().errorString().toStdString());
  });
  QObject::connect(&headers, &QTimer::timeout, &loop, [&]() {
    fail(SyncStatus::kTimedOut, host + " gave no answer within " + std::to_string(fLimits.answerMs / 1000) + " s");
  });
  QObject::connect(&pause, &QTimer::timeout, &loop, [&]() {
    fail(SyncStatus::kTimedOut, host + " stopped sending for " + std::to_string(fLimits.pauseMs / 1000) + " s");
  });
  QObject::connect(&total, &QTimer::timeout, &loop, [&]() {
    fail(SyncStatus::kTimedOut, host + " took longer than " + std::to_string(fLimits.totalMs / 1000) + " s");
  });
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  headers.start(fLimits.answerMs);
  total.start(int(std::max<qint64>(deadlineMs, 1)));
  if (!reply->isFinished()) {
    {
      std::lock_guard<std::mutex> lock(fLoopLock);
      fLoop = fCancelled ? nullptr : &loop;
    }
    if (!fCancelled)
      loop.exec();
    std::lock_guard<std::mutex> lock(fLoopLock);
    fLoop = nullptr;
  }
  if (fCancelled && failure == SyncStatus::kSynced)
    fail(SyncStatus::kNotSynced, "cancelled");
  if (failure == SyncStatus::kSynced && reply->isFinished())
    answer->body += reply->read(fLimits.maxBytes + 1 - answer->body.size());

  answer->status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  for (const auto& pair : reply->rawHeaderPairs())
    answer->headers.append(pair);
  const QNetworkReply::NetworkError error = reply->error();
  const std::string errorText = reply->errorString().toStdString();
  reply->abort();
  reply->deleteLater();

  if (failure != SyncStatus::kSynced) {
    answer->failure = failure;
    answer->detail = detail;
  } else if (answer->body.size() > fLimits.maxBytes) {
    answer->failure = SyncStatus::kTooLarge;
    answer->detail = host + " sends an answer larger than " + limit;
  } else if (answer->status == 401) {
    answer->failure = fUser.empty() || fPassword.empty() ? SyncStatus::kPasswordNeeded : SyncStatus::kWrongPassword;
    answer->detail = host;
  } else if (answer->status == 0 && error == QNetworkReply::SslHandshakeFailedError) {
    answer->failure = SyncStatus::kCertificate;
    answer->detail = "the certificate of " + request.url.host().toStdString() + " is not trusted: " + errorText;
  } else if (answer->status == 0 && IsConnectionFailure(error)) {
    answer->failure = SyncStatus::kOffline;
    answer->detail = host + ": " + errorText;
  } else if (answer->status == 0) {
    answer->failure = SyncStatus::kServerError;
    answer->detail = host + ": " + errorText;
  } else if (error == QNetworkReply::RemoteHostClosedError
             || (answer->Header("Content-Length").size() > 0
                 && answer->body.size() < answer->Header("Content-Length").toLongLong())) {
    answer->failure = SyncStatus::kBadAnswer;
    answer->detail = host + " broke off its answer";
  }
}
