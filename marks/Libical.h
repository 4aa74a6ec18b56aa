// libical, loaded when the first iCalendar file is read rather than when
// the program starts: with the ICU libraries it needs, loading it costs a
// few milliseconds that the many starts without calendar files need not
// pay. Its types come from its header as usual; its functions are called
// through this table.
//
//   std::string why;
//   if (LoadLibical(&why) == nullptr)
//     ...;                                   // why: what went wrong
//   icaltimetype none = Ical().icaltime_null_time();
#pragma once

#include <string>

#include <libical/ical.h>

#define ORVELLA_LIBICAL_FUNCTIONS(X)                                                                   \
  X(icalcomponent_as_ical_string_r)                                                                    \
  X(icalcomponent_free)                                                                                \
  X(icalcomponent_isa)                                                                                 \
  X(icaldurationtype_from_string)                                                                      \
  X(icaldurationtype_is_bad_duration)                                                                  \
  X(icalmemory_free_buffer)                                                                            \
  X(icalparser_parse_string)                                                                           \
  X(icalrecur_iterator_free)                                                                           \
  X(icalrecur_iterator_new)                                                                            \
  X(icalrecur_iterator_next)                                                                           \
  X(icalrecur_iterator_set_start)                                                                      \
  X(icalrecurrencetype_day_day_of_week)                                                                \
  X(icalrecurrencetype_day_position)                                                                   \
  X(icalrecurrencetype_from_string)                                                                    \
  X(icalrecurrencetype_month_is_leap)                                                                  \
  X(icaltime_as_timet_with_zone)                                                                       \
  X(icaltime_from_timet_with_zone)                                                                     \
  X(icaltime_is_null_time)                                                                             \
  X(icaltime_null_time)                                                                                \
  X(icaltimezone_free)                                                                                 \
  X(icaltimezone_get_builtin_timezone)                                                                 \
  X(icaltimezone_get_component)                                                                        \
  X(icaltimezone_get_utc_timezone)                                                                     \
  X(icaltimezone_new)                                                                                  \
  X(icaltimezone_set_component)

// The functions this program uses, by their own names.
struct Libical {
#define ORVELLA_LIBICAL_MEMBER(name) decltype(&::name) name = nullptr;
  ORVELLA_LIBICAL_FUNCTIONS(ORVELLA_LIBICAL_MEMBER)
#undef ORVELLA_LIBICAL_MEMBER
};

// Loads the library on the first call; null when it cannot be loaded or
// lacks a function, with the reason in *why.
const Libical* LoadLibical(std::string* why = nullptr);
// The loaded library, loading it first if need be. For code that runs once
// a file has been read: a program without libical stops here with a line
// on standard error.
const Libical& Ical();
