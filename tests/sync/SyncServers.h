// The servers of the sync tests, started by the tests themselves: the
// Python test server (tests/sync/test_server.py: feeds and failing
// servers) and Radicale, a real CalDAV server, each on a free port of
// 127.0.0.1 with its own storage, and gone with the object. Requests to
// them (putting events into Radicale, changing the feed) are made with
// Qt Network; every wait is bounded.
#pragma once

#include "tests/platform/TestSupport.h"

#include <QDir>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>
#include <string>

// One request, waited for; the HTTP status, or 0 when none came.
inline int Send(const QByteArray& verb, const QUrl& url, const QByteArray& body = QByteArray(),
                const QList<QPair<QByteArray, QByteArray>>& headers = {}, QByteArray* answer = nullptr)
{
  static QNetworkAccessManager* manager = new QNetworkAccessManager();
  QNetworkRequest request(url);
  for (const auto& [name, value] : headers)
    request.setRawHeader(name, value);
  QNetworkReply* reply = manager->sendCustomRequest(request, verb, body);
  QEventLoop loop;
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  QTimer::singleShot(kWaitMs, &loop, &QEventLoop::quit);
  if (!reply->isFinished())
    loop.exec();
  const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  if (answer != nullptr)
    *answer = reply->readAll();
  reply->abort();
  reply->deleteLater();
  return status;
}

// A started program that prints nothing the test needs; killed with the object.
class ServerProcess {
public:
  ~ServerProcess() { Stop(); }
  void Start(const QString& program, const QStringList& args)
  {
    fProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    fProcess.start(program, args);
  }
  void Stop()
  {
    if (fProcess.state() != QProcess::NotRunning) {
      fProcess.kill();
      fProcess.waitForFinished(kWaitMs);
    }
  }
  QProcess& Process() { return fProcess; }

private:
  QProcess fProcess;
};

// tests/sync/test_server.py, plain or with TLS.
class TestServer {
public:
  explicit TestServer(const QStringList& tls = {})
  {
    fServer.Start("/usr/bin/python3", QStringList{ORVELLA_TEST_SERVER} + tls);
    QProcess& process = fServer.Process();
    WaitFor([&]() { return process.canReadLine() || process.state() == QProcess::NotRunning; });
    const QByteArray line = process.readLine().trimmed();
    if (line.startsWith("PORT "))
      fPort = line.mid(5).toInt();
  }
  int Port() const { return fPort; }
  bool Running() const { return fPort > 0; }
  QString Url(const QString& path, const char* scheme = "http") const
  {
    return QString("%1://127.0.0.1:%2%3").arg(scheme).arg(fPort).arg(path);
  }
  void SetMode(const QByteArray& mode) { Send("PUT", Url("/control/mode"), mode); }
  void SetFeed(const QByteArray& text) { Send("PUT", Url("/control/feed"), text); }
  // The requests it got, oldest first.
  QJsonArray Log() const
  {
    QByteArray json;
    Send("GET", Url("/control/log"), {}, {}, &json);
    return QJsonDocument::fromJson(json).array();
  }
  // How many requests for the path it got, and the last one's headers.
  int Requests(const QString& path, QJsonObject* lastHeaders = nullptr) const
  {
    int count = 0;
    for (const QJsonValue& entry : Log()) {
      if (entry["path"].toString() == path) {
        count++;
        if (lastHeaders != nullptr)
          *lastHeaders = entry["headers"].toObject();
      }
    }
    return count;
  }

private:
  ServerProcess fServer;
  int fPort = 0;
};

// A port nothing listens on right now.
inline int FreePort()
{
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  return probe.serverPort();
}

// The password of Radicale's user: no word any message holds otherwise.
const char kRadicalePassword[] = "pw-7xqk2";

// Radicale with one user, alice (password kRadicalePassword), and its own
// storage.
class Radicale {
public:
  Radicale()
  {
    const QString root = fDir.path();
    QProcess htpasswd;
    htpasswd.start("htpasswd", {"-i", "-B", "-c", root + "/users", "alice"});
    htpasswd.write(QByteArray(kRadicalePassword) + "\n");
    htpasswd.closeWriteChannel();
    htpasswd.waitForFinished(kWaitMs);
    Start(FreePort());
  }

  // Starts it again on the same port, after Stop.
  void Start(int port)
  {
    fPort = port;
    const QString root = fDir.path();
    QFile config(root + "/config");
    config.open(QIODevice::WriteOnly | QIODevice::Truncate);
    config.write(QString("[server]\nhosts = 127.0.0.1:%1\n"
                         "[auth]\ntype = htpasswd\nhtpasswd_filename = %2/users\nhtpasswd_encryption = bcrypt\n"
                         "[storage]\nfilesystem_folder = %2/collections\n"
                         "[web]\ntype = none\n[logging]\nlevel = warning\n")
                     .arg(port)
                     .arg(root)
                     .toUtf8());
    config.close();
    fServer.Start("/usr/bin/radicale", {"--config", root + "/config"});
    // Ready once it answers.
    WaitFor([&]() { return Send("OPTIONS", Url("/")) > 0 || fServer.Process().state() == QProcess::NotRunning; });
  }
  void Stop() { fServer.Stop(); }
  int Port() const { return fPort; }
  bool Running() { return fServer.Process().state() == QProcess::Running; }

  QString Url(const QString& path) const { return QString("http://127.0.0.1:%1%2").arg(fPort).arg(path); }
  // Where the server keeps alice's collections, for filling them by hand.
  QString Storage() const { return fDir.path() + "/collections/collection-root/alice"; }

  // Requests as alice.
  int Ask(const QByteArray& verb, const QString& path, const QByteArray& body = QByteArray(),
          QList<QPair<QByteArray, QByteArray>> headers = {}) const
  {
    headers.append({"Authorization", "Basic " + (QByteArray("alice:") + kRadicalePassword).toBase64()});
    return Send(verb, Url(path), body, headers);
  }
  bool MakeCalendar(const QString& path, const QString& name)
  {
    Ask("MKCOL", "/alice/");
    const QByteArray body = "<?xml version=\"1.0\"?><c:mkcalendar xmlns:d=\"DAV:\" "
                            "xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:set><d:prop><d:displayname>"
                            + name.toUtf8() + "</d:displayname></d:prop></d:set></c:mkcalendar>";
    return Ask("MKCALENDAR", path, body) == 201;
  }
  bool PutEvent(const QString& path, const QString& uid, const QString& day, const QString& summary)
  {
    const QByteArray text = ("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\nBEGIN:VEVENT\r\nUID:" + uid
                             + "\r\nDTSTART;VALUE=DATE:" + day + "\r\nSUMMARY:" + summary
                             + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n")
                                .toUtf8();
    const int status = Ask("PUT", path, text, {{"Content-Type", "text/calendar"}});
    return status == 201 || status == 204;
  }
  bool Rename(const QString& path, const QString& name)
  {
    const QByteArray body = "<?xml version=\"1.0\"?><d:propertyupdate xmlns:d=\"DAV:\"><d:set><d:prop><d:displayname>"
                            + name.toUtf8() + "</d:displayname></d:prop></d:set></d:propertyupdate>";
    return Ask("PROPPATCH", path, body) == 207;
  }

private:
  QTemporaryDir fDir;
  ServerProcess fServer;
  int fPort = 0;
};
