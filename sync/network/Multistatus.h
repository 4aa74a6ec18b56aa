// A WebDAV server's answer to PROPFIND and REPORT: a multistatus document
// (RFC 4918) with a response for each resource, holding the properties this
// program asks CalDAV servers for (RFC 4791, RFC 6578 and the common
// ctag and colour properties). It is read with QXmlStreamReader; anything
// else in it is skipped.
//
//   Multistatus answer;
//   std::string error;
//   if (!ReadMultistatus(body, &answer, &error)) ...   // error: what is wrong, and where
//   for (const DavResource& resource : answer.resources)
//     if (resource.isCalendar) ... resource.href, resource.displayName
//
// A document with a document type declaration is refused: it could only
// bring entities, which a server has no business sending (and a hostile one
// may expand a few bytes into gigabytes).
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct DavResource {
  // The path on the server, percent-encoded in one way whatever way the
  // server chose, so two hrefs of one resource compare equal.
  std::string href;
  int status = 200;  // the response's own status: 404 for a removed resource

  // The properties that came with status 200.
  std::string etag;
  std::string displayName;
  std::string color;            // as written: "#RRGGBB" or "#RRGGBBAA"
  std::string ctag;
  std::string syncToken;
  std::string calendarData;
  std::string principal;        // href of current-user-principal
  std::string calendarHome;     // first href of calendar-home-set
  bool isCollection = false;
  bool isCalendar = false;
  bool syncCollection = false;  // its supported-report-set names sync-collection
  bool listsComponents = false; // it has a supported-calendar-component-set
  bool holdsEvents = false;     // ... that names VEVENT
};

struct Multistatus {
  std::vector<DavResource> resources;
  std::string syncToken;  // the new token of a sync-collection answer
};

bool ReadMultistatus(std::string_view xml, Multistatus* result, std::string* error);

// An href (a path, or a whole address) in the one encoding DavResource uses.
std::string CanonicalHref(std::string_view href);
