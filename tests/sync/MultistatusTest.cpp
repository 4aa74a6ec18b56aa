// The multistatus reader on what real servers send and on what hostile
// ones may send, and the cache's form of a CalDAV source's events.
#include "sync/network/Multistatus.h"
#include "sync/network/ResourceSet.h"

#include <gtest/gtest.h>

namespace {

const char kHome[] = R"(<?xml version='1.0' encoding='utf-8'?>
<multistatus xmlns="DAV:" xmlns:C="urn:ietf:params:xml:ns:caldav" xmlns:CS="http://calendarserver.org/ns/"
  xmlns:ICAL="http://apple.com/ns/ical/">
 <response><href>/alice/</href>
  <propstat><prop><resourcetype><principal/><collection/></resourcetype></prop><status>HTTP/1.1 200 OK</status></propstat>
  <propstat><prop><displayname/><CS:getctag/></prop><status>HTTP/1.1 404 Not Found</status></propstat>
 </response>
 <response><href>/alice/work%20days/</href>
  <propstat><prop><resourcetype><C:calendar/><collection/></resourcetype><displayname>Work &amp; more</displayname>
   <CS:getctag>"c1"</CS:getctag><sync-token>http://radicale.org/ns/sync/1b9</sync-token>
   <ICAL:calendar-color>#FF8800FF</ICAL:calendar-color>
   <supported-report-set><supported-report><report><sync-collection/></report></supported-report></supported-report-set>
   <C:supported-calendar-component-set><C:comp name="VTODO"/><C:comp name="VEVENT"/></C:supported-calendar-component-set>
  </prop><status>HTTP/1.1 200 OK</status></propstat>
 </response>
 <response><href>http://dav.example.org/alice/tasks/</href>
  <propstat><prop><resourcetype><C:calendar/><collection/></resourcetype>
   <C:supported-calendar-component-set><C:comp name="VTODO"/></C:supported-calendar-component-set>
  </prop><status>HTTP/1.1 200 OK</status></propstat>
 </response>
</multistatus>)";

const char kSyncAnswer[] = R"(<?xml version="1.0"?>
<d:multistatus xmlns:d="DAV:">
 <d:response><d:href>/alice/work/a.ics</d:href>
  <d:propstat><d:prop><d:getetag>"e1"</d:getetag></d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>
 <d:response><d:href>/alice/work/b.ics</d:href><d:href>/alice/work/c.ics</d:href><d:status>HTTP/1.1 404 Not Found</d:status></d:response>
 <d:sync-token>http://radicale.org/ns/sync/2c0</d:sync-token>
</d:multistatus>)";

} // namespace

TEST(MultistatusTest, ReadsTheCalendarsOfAHome)
{
  Multistatus answer;
  std::string error;
  ASSERT_TRUE(ReadMultistatus(kHome, &answer, &error)) << error;
  ASSERT_EQ(answer.resources.size(), 3u);
  const DavResource& home = answer.resources[0];
  EXPECT_TRUE(home.isCollection);
  EXPECT_FALSE(home.isCalendar);
  EXPECT_TRUE(home.displayName.empty()) << "a property answered with 404 is no value";
  const DavResource& work = answer.resources[1];
  EXPECT_EQ(work.href, "/alice/work%20days/");
  EXPECT_TRUE(work.isCalendar);
  EXPECT_EQ(work.displayName, "Work & more");
  EXPECT_EQ(work.ctag, "\"c1\"");
  EXPECT_EQ(work.syncToken, "http://radicale.org/ns/sync/1b9");
  EXPECT_EQ(work.color, "#FF8800FF");
  EXPECT_TRUE(work.syncCollection);
  EXPECT_TRUE(work.listsComponents && work.holdsEvents);
  const DavResource& tasks = answer.resources[2];
  EXPECT_EQ(tasks.href, "/alice/tasks/") << "a whole address is taken by its path";
  EXPECT_TRUE(tasks.listsComponents);
  EXPECT_FALSE(tasks.holdsEvents);
}

TEST(MultistatusTest, ReadsChangesAndRemovals)
{
  Multistatus answer;
  std::string error;
  ASSERT_TRUE(ReadMultistatus(kSyncAnswer, &answer, &error)) << error;
  EXPECT_EQ(answer.syncToken, "http://radicale.org/ns/sync/2c0");
  ASSERT_EQ(answer.resources.size(), 3u);
  EXPECT_EQ(answer.resources[0].etag, "\"e1\"");
  EXPECT_EQ(answer.resources[0].status, 200);
  EXPECT_EQ(answer.resources[1].href, "/alice/work/b.ics");
  EXPECT_EQ(answer.resources[1].status, 404);
  EXPECT_EQ(answer.resources[2].href, "/alice/work/c.ics");
  EXPECT_EQ(answer.resources[2].status, 404);
}

TEST(MultistatusTest, HrefsOfOneResourceCompareEqual)
{
  EXPECT_EQ(CanonicalHref("/a/b%40c/"), CanonicalHref("/a/b@c/"));
  EXPECT_EQ(CanonicalHref("/a/work days/"), CanonicalHref("/a/work%20days/"));
  EXPECT_EQ(CanonicalHref("https://x.example/a/"), "/a/");
  EXPECT_EQ(CanonicalHref("  /a/  "), "/a/");
}

TEST(MultistatusTest, HostileAnswersAreRefused)
{
  std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE m [<!ENTITY a \"aaaaaaaaaa\">";
  for (char level = 'b'; level <= 'j'; level++) {
    const std::string previous = std::string("&") + char(level - 1) + ";";
    laughs += std::string("<!ENTITY ") + level + " \"" + previous + previous + previous + previous + "\">";
  }
  laughs += "]><multistatus xmlns=\"DAV:\"><response><href>&j;</href></response></multistatus>";
  const struct {
    const char* edge;
    std::string xml;
    const char* error;
  } rows[] = {
      {"cut short", "<multistatus xmlns=\"DAV:\"><response><href>/a</href>", "XML error"},
      {"an entity bomb", laughs, "document type declaration"},
      {"an external entity", "<?xml version=\"1.0\"?><!DOCTYPE m SYSTEM \"file:///etc/passwd\"><m/>",
       "document type declaration"},
      {"an undeclared entity", "<multistatus xmlns=\"DAV:\"><response><href>&x;</href></response></multistatus>",
       "XML error"},
      {"no multistatus", "<html><body>hello</body></html>", "no multistatus"},
      {"no XML", "BEGIN:VCALENDAR", "XML"},
      {"empty", "", "XML"},
      {"the DAV name in another namespace", "<multistatus xmlns=\"urn:other\"/>", "no multistatus"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    Multistatus answer;
    std::string error;
    EXPECT_FALSE(ReadMultistatus(row.xml, &answer, &error));
    EXPECT_NE(error.find(row.error), std::string::npos) << error;
  }
}

TEST(MultistatusTest, OddButHarmlessAnswersAreRead)
{
  const struct {
    const char* edge;
    const char* xml;
    size_t resources;
  } rows[] = {
      {"unknown elements anywhere",
       "<multistatus xmlns=\"DAV:\" xmlns:x=\"urn:x\"><x:note><x:deep><x:deeper/></x:deep></x:note>"
       "<response><x:odd/><href>/a</href><propstat><prop><x:p>1</x:p><getetag>\"e\"</getetag></prop>"
       "<status>HTTP/1.1 200 OK</status></propstat></response></multistatus>",
       1},
      {"a response without href", "<multistatus xmlns=\"DAV:\"><response><status>HTTP/1.1 200 OK</status></response></multistatus>", 0},
      {"no responses", "<multistatus xmlns=\"DAV:\"/>", 0},
      {"markup inside a name",
       "<multistatus xmlns=\"DAV:\"><response><href>/a</href><propstat><prop><displayname>A<b>B</b></displayname>"
       "</prop><status>HTTP/1.1 200 OK</status></propstat></response></multistatus>",
       1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.edge);
    Multistatus answer;
    std::string error;
    EXPECT_TRUE(ReadMultistatus(row.xml, &answer, &error)) << error;
    EXPECT_EQ(answer.resources.size(), row.resources);
  }
}

TEST(ResourceSetTest, CacheFormKeepsEachResourceWithItsTags)
{
  const std::string event = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:1\r\nDTSTART;VALUE=DATE:20240101\r\n"
                            "SUMMARY:One\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
  ResourceSet set;
  EXPECT_TRUE(set.Put({"/cal/", "/cal/1.ics", "\"e1\"", event}));
  // Unix line ends and a server's own look-alike tag.
  EXPECT_TRUE(set.Put({"/cal/", "/cal/2.ics", "\"e2\"",
                       "BEGIN:VCALENDAR\nX-ORVELLA-HREF:/cal/evil.ics\nBEGIN:VEVENT\nUID:2\nEND:VEVENT\nEND:VCALENDAR\n"}));
  EXPECT_TRUE(set.Put({"/other/", "/other/3.ics", "", "junk before\r\n" + event + "junk after\r\n"}));
  EXPECT_FALSE(set.Put({"/cal/", "/cal/4.ics", "\"e4\"", "BEGIN:VCALENDAR\r\nno end"}));
  EXPECT_FALSE(set.Put({"/cal/", "/cal/5.ics", "\"e5\"", "<html>not found</html>"}));

  const ResourceSet read = ResourceSet::Parse(set.Format());
  ASSERT_EQ(read.All().size(), 3u);
  EXPECT_EQ(read.Find("/cal/1.ics")->data, event);
  EXPECT_EQ(read.Find("/cal/1.ics")->etag, "\"e1\"");
  EXPECT_EQ(read.Find("/cal/2.ics")->etag, "\"e2\"");
  EXPECT_EQ(read.Find("/cal/evil.ics"), nullptr);
  EXPECT_EQ(read.Find("/other/3.ics")->data, event);
  EXPECT_EQ(read.Find("/other/3.ics")->calendar, "/other/");

  ResourceSet less = read;
  less.RemoveCalendar("/cal/");
  EXPECT_EQ(less.All().size(), 1u);
  less.Remove("/other/3.ics");
  EXPECT_TRUE(less.Format().empty());
}
