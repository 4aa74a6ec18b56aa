// Feeds arbitrary bytes to the multistatus reader as a server's answer,
// then puts every calendar object it found into the cache's form and reads
// that back. Whatever a server sends, the reader must stay inside it,
// refuse what it cannot read with a reason, and never expand entities; the
// cache must give back exactly the resources it was given.
#include "sync/network/Multistatus.h"
#include "sync/network/ResourceSet.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const std::string_view xml(reinterpret_cast<const char*>(data), size);
  Multistatus answer;
  std::string error;
  if (!ReadMultistatus(xml, &answer, &error)) {
    if (error.empty())
      abort();
    return 0;
  }
  ResourceSet set;
  for (const DavResource& resource : answer.resources) {
    // A value can only come from the answer, never from an entity: at most
    // each byte of it turned into a replacement character.
    if (resource.calendarData.size() > 3 * size)
      abort();
    set.Put({"/calendar/", resource.href, resource.etag, resource.calendarData});
  }
  const ResourceSet read = ResourceSet::Parse(set.Format());
  if (read.All().size() != set.All().size())
    abort();
  for (const auto& [href, resource] : set.All()) {
    const Resource* back = read.Find(href);
    if (back == nullptr || back->data != resource.data || back->etag != resource.etag)
      abort();
  }
  return 0;
}
