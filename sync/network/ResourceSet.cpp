#include "sync/network/ResourceSet.h"

#include <cstring>
#include <strings.h>

namespace {

const char kCalendarTag[] = "X-ORVELLA-CALENDAR:";
const char kHrefTag[] = "X-ORVELLA-HREF:";
const char kEtagTag[] = "X-ORVELLA-ETAG:";

// The line without its line break.
std::string_view Content(std::string_view line)
{
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
    line.remove_suffix(1);
  return line;
}

bool IsLine(std::string_view line, const char* text)
{
  const std::string_view content = Content(line);
  return content.size() == strlen(text) && strncasecmp(content.data(), text, content.size()) == 0;
}

bool StartsWith(std::string_view line, const char* tag)
{
  return line.size() >= strlen(tag) && strncasecmp(line.data(), tag, strlen(tag)) == 0;
}

// Calls take(line) for each line of the text, line breaks kept.
template <typename Take>
void ForEachLine(std::string_view text, Take take)
{
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    end = end == std::string_view::npos ? text.size() : end + 1;
    take(text.substr(at, end - at));
    at = end;
  }
}

} // namespace

ResourceSet ResourceSet::Parse(std::string_view text)
{
  ResourceSet set;
  Resource resource;
  bool inObject = false;
  ForEachLine(text, [&](std::string_view line) {
    if (!inObject) {
      if (IsLine(line, "BEGIN:VCALENDAR")) {
        inObject = true;
        resource = Resource();
        resource.data.assign(line);
      }
      return;
    }
    const std::string_view content = Content(line);
    if (StartsWith(content, kCalendarTag))
      resource.calendar.assign(content.substr(strlen(kCalendarTag)));
    else if (StartsWith(content, kHrefTag))
      resource.href.assign(content.substr(strlen(kHrefTag)));
    else if (StartsWith(content, kEtagTag))
      resource.etag.assign(content.substr(strlen(kEtagTag)));
    else
      resource.data.append(line);
    if (IsLine(line, "END:VCALENDAR")) {
      inObject = false;
      if (!resource.href.empty())
        set.fByHref[resource.href] = std::move(resource);
    }
  });
  return set;
}

std::string ResourceSet::Format() const
{
  size_t size = 0;
  for (const auto& [href, resource] : fByHref)
    size += resource.data.size() + resource.calendar.size() + href.size() + resource.etag.size() + 64;
  std::string text;
  text.reserve(size);
  for (const auto& [href, resource] : fByHref) {
    // Put() made sure the data starts with its BEGIN:VCALENDAR line.
    const size_t firstEnd = resource.data.find('\n') + 1;
    text.append(resource.data, 0, firstEnd);
    ((text += kCalendarTag) += resource.calendar) += "\r\n";
    ((text += kHrefTag) += href) += "\r\n";
    ((text += kEtagTag) += resource.etag) += "\r\n";
    text.append(resource.data, firstEnd, std::string::npos);
    if (text.back() != '\n')
      text += "\r\n";
  }
  return text;
}

bool ResourceSet::Put(Resource resource)
{
  // Only the object itself is kept: from its BEGIN:VCALENDAR line to its
  // END:VCALENDAR line, without lines that look like this program's own.
  std::string data;
  bool inObject = false, closed = false;
  ForEachLine(resource.data, [&](std::string_view line) {
    if (closed)
      return;
    if (!inObject) {
      inObject = IsLine(line, "BEGIN:VCALENDAR");
      if (inObject)
        data.assign(line);
      return;
    }
    const std::string_view content = Content(line);
    if (StartsWith(content, kCalendarTag) || StartsWith(content, kHrefTag) || StartsWith(content, kEtagTag))
      return;
    data.append(line);
    closed = IsLine(line, "END:VCALENDAR");
  });
  if (!closed || resource.href.empty())
    return false;
  if (data.find('\n') == std::string::npos)
    return false;
  // Tags are single lines.
  for (std::string* tag : {&resource.calendar, &resource.href, &resource.etag}) {
    for (char& c : *tag) {
      if (c == '\r' || c == '\n')
        c = ' ';
    }
  }
  resource.data = std::move(data);
  fByHref[resource.href] = std::move(resource);
  return true;
}

void ResourceSet::Remove(const std::string& href)
{
  fByHref.erase(href);
}

void ResourceSet::RemoveCalendar(const std::string& calendar)
{
  for (auto it = fByHref.begin(); it != fByHref.end();) {
    if (it->second.calendar == calendar)
      it = fByHref.erase(it);
    else
      ++it;
  }
}

const Resource* ResourceSet::Find(const std::string& href) const
{
  auto found = fByHref.find(href);
  return found == fByHref.end() ? nullptr : &found->second;
}
