#include "sync/network/Multistatus.h"

#include <QUrl>
#include <QXmlStreamReader>

namespace {

const QString kDav = "DAV:";
const QString kCalDav = "urn:ietf:params:xml:ns:caldav";
const QString kCalendarServer = "http://calendarserver.org/ns/";
const QString kApple = "http://apple.com/ns/ical/";

class Reader {
public:
  explicit Reader(std::string_view xml)
      : fXml(QByteArray::fromRawData(xml.data(), qsizetype(xml.size())))
  {
  }

  bool Read(Multistatus* result, std::string* error)
  {
    if (!ToRoot(error))
      return false;
    if (!Is(kDav, "multistatus")) {
      *error = "no multistatus document (its root is <" + fXml.name().toString().toStdString() + ">)";
      return false;
    }
    while (fXml.readNextStartElement()) {
      if (Is(kDav, "response"))
        ReadResponse(&result->resources);
      else if (Is(kDav, "sync-token"))
        result->syncToken = Text();
      else
        fXml.skipCurrentElement();
    }
    if (fXml.hasError()) {
      *error = "XML error at line " + std::to_string(fXml.lineNumber()) + ": " + fXml.errorString().toStdString();
      return false;
    }
    return true;
  }

private:
  // Moves to the root element; a DTD, or no element at all, is an error.
  bool ToRoot(std::string* error)
  {
    while (!fXml.atEnd()) {
      switch (fXml.readNext()) {
      case QXmlStreamReader::DTD:
        *error = "the answer holds a document type declaration, which is refused";
        return false;
      case QXmlStreamReader::StartElement:
        return true;
      default:
        break;
      }
    }
    *error = fXml.hasError() ? "XML error: " + fXml.errorString().toStdString() : "no XML element in the answer";
    return false;
  }

  bool Is(const QString& space, const char* name) const
  {
    return fXml.namespaceUri() == space && fXml.name() == QLatin1String(name);
  }

  std::string Text()
  {
    return fXml.readElementText(QXmlStreamReader::SkipChildElements).trimmed().toStdString();
  }

  // The text of the first href among the element's children.
  std::string ChildHref()
  {
    std::string href;
    while (fXml.readNextStartElement()) {
      if (Is(kDav, "href") && href.empty())
        href = CanonicalHref(Text());
      else
        fXml.skipCurrentElement();
    }
    return href;
  }

  static int StatusOf(const std::string& line)
  {
    // "HTTP/1.1 404 Not Found"
    const size_t blank = line.find(' ');
    return blank == std::string::npos ? 0 : atoi(line.c_str() + blank + 1);
  }

  void ReadResponse(std::vector<DavResource>* resources)
  {
    std::vector<std::string> hrefs;
    DavResource resource;
    while (fXml.readNextStartElement()) {
      if (Is(kDav, "href"))
        hrefs.push_back(CanonicalHref(Text()));
      else if (Is(kDav, "status"))
        resource.status = StatusOf(Text());
      else if (Is(kDav, "propstat"))
        ReadPropstat(&resource);
      else
        fXml.skipCurrentElement();
    }
    // A response may name several resources that share its status.
    for (const std::string& href : hrefs) {
      resource.href = href;
      resources->push_back(resource);
    }
  }

  void ReadPropstat(DavResource* resource)
  {
    DavResource found;
    int status = 0;
    while (fXml.readNextStartElement()) {
      if (Is(kDav, "prop"))
        ReadProp(&found);
      else if (Is(kDav, "status"))
        status = StatusOf(Text());
      else
        fXml.skipCurrentElement();
    }
    if (status < 200 || status > 299)
      return;
    auto take = [](std::string* to, const std::string& from) {
      if (!from.empty())
        *to = from;
    };
    take(&resource->etag, found.etag);
    take(&resource->displayName, found.displayName);
    take(&resource->color, found.color);
    take(&resource->ctag, found.ctag);
    take(&resource->syncToken, found.syncToken);
    take(&resource->calendarData, found.calendarData);
    take(&resource->principal, found.principal);
    take(&resource->calendarHome, found.calendarHome);
    resource->isCollection = resource->isCollection || found.isCollection;
    resource->isCalendar = resource->isCalendar || found.isCalendar;
    resource->syncCollection = resource->syncCollection || found.syncCollection;
    resource->listsComponents = resource->listsComponents || found.listsComponents;
    resource->holdsEvents = resource->holdsEvents || found.holdsEvents;
  }

  void ReadProp(DavResource* found)
  {
    while (fXml.readNextStartElement()) {
      if (Is(kDav, "resourcetype")) {
        while (fXml.readNextStartElement()) {
          found->isCollection = found->isCollection || Is(kDav, "collection");
          found->isCalendar = found->isCalendar || Is(kCalDav, "calendar");
          fXml.skipCurrentElement();
        }
      } else if (Is(kDav, "displayname")) {
        found->displayName = Text();
      } else if (Is(kDav, "getetag")) {
        found->etag = Text();
      } else if (Is(kDav, "sync-token")) {
        found->syncToken = Text();
      } else if (Is(kCalendarServer, "getctag")) {
        found->ctag = Text();
      } else if (Is(kApple, "calendar-color")) {
        found->color = Text();
      } else if (Is(kCalDav, "calendar-data")) {
        found->calendarData = fXml.readElementText(QXmlStreamReader::SkipChildElements).toStdString();
      } else if (Is(kDav, "current-user-principal")) {
        found->principal = ChildHref();
      } else if (Is(kCalDav, "calendar-home-set")) {
        found->calendarHome = ChildHref();
      } else if (Is(kDav, "supported-report-set")) {
        found->syncCollection = found->syncCollection || NamesSyncCollection();
      } else if (Is(kCalDav, "supported-calendar-component-set")) {
        found->listsComponents = true;
        while (fXml.readNextStartElement()) {
          if (Is(kCalDav, "comp") && fXml.attributes().value("name").compare(QLatin1String("VEVENT"), Qt::CaseInsensitive) == 0)
            found->holdsEvents = true;
          fXml.skipCurrentElement();
        }
      } else {
        fXml.skipCurrentElement();
      }
    }
  }

  // Whether a sync-collection element lies anywhere inside the element.
  bool NamesSyncCollection()
  {
    bool names = false;
    int depth = 1;
    while (depth > 0 && !fXml.atEnd()) {
      switch (fXml.readNext()) {
      case QXmlStreamReader::StartElement:
        depth++;
        names = names || Is(kDav, "sync-collection");
        break;
      case QXmlStreamReader::EndElement:
        depth--;
        break;
      default:
        break;
      }
    }
    return names;
  }

  QXmlStreamReader fXml;
};

} // namespace

std::string CanonicalHref(std::string_view href)
{
  const QString text = QString::fromUtf8(href.data(), qsizetype(href.size())).trimmed();
  const QUrl url = QUrl::fromEncoded(text.toUtf8());
  QUrl path;
  path.setPath(url.path(QUrl::FullyDecoded), QUrl::DecodedMode);
  return path.toString(QUrl::FullyEncoded).toStdString();
}

bool ReadMultistatus(std::string_view xml, Multistatus* result, std::string* error)
{
  *result = Multistatus();
  error->clear();
  Reader reader(xml);
  return reader.Read(result, error);
}
