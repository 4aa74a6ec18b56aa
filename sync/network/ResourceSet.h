// The events of a CalDAV source as its cache file holds them: one
// VCALENDAR object for each resource on the server, as the server sent it,
// with three lines of this program's own after its BEGIN:VCALENDAR line:
//
//   BEGIN:VCALENDAR
//   X-ORVELLA-CALENDAR:/dav/alice/work/
//   X-ORVELLA-HREF:/dav/alice/work/0a1b.ics
//   X-ORVELLA-ETAG:"33-4e1f"
//   VERSION:2.0
//   ...
//
// So the file is an iCalendar text like any other for the marks, and the
// next sync knows which resource each object is and which version of it.
//
//   ResourceSet set = ResourceSet::Parse(cacheText);
//   set.Put({"/dav/alice/work/", "/dav/alice/work/new.ics", "\"1\"", data});
//   cache.WriteData(set.Format(), &error);
#pragma once

#include <map>
#include <string>
#include <string_view>

struct Resource {
  std::string calendar;  // href of its calendar
  std::string href;
  std::string etag;
  std::string data;      // the VCALENDAR object as the server sent it
};

class ResourceSet {
public:
  static ResourceSet Parse(std::string_view text);
  std::string Format() const;

  // Adds or replaces the resource of its href; false (and nothing changes)
  // when its data is no VCALENDAR object.
  bool Put(Resource resource);
  void Remove(const std::string& href);
  // Removes the resources of a calendar.
  void RemoveCalendar(const std::string& calendar);
  const Resource* Find(const std::string& href) const;
  const std::map<std::string, Resource>& All() const { return fByHref; }

private:
  std::map<std::string, Resource> fByHref;
};
