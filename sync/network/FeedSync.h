// Bringing a feed's cached copy up to date: a conditional GET with the
// ETag and Last-Modified time of the copy, so an unchanged feed costs one
// short answer (304 Not Modified).
//
//   SyncResult result = SyncFeed(http, source, cache.ReadState(), haveData);
//   if (!result.failure.Failed() && result.changed) cache.WriteData(result.data, &error);
#pragma once

#include "sync/CalendarSource.h"
#include "sync/SyncStep.h"

class HttpClient;

// haveData: the cache holds the feed's data, so the validators may be sent.
SyncResult SyncFeed(HttpClient& http, const CalendarSource& source, const CacheState& cached, bool haveData);

// Whether a text holds an iCalendar object (a BEGIN:VCALENDAR line).
bool HoldsCalendar(const std::string& text);
