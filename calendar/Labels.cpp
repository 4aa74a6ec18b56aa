#include "calendar/Labels.h"

#include <vector>

namespace {
LabelSource gLabelSource = nullptr;
}

// Texts by number; numbers without a label of their own hold their number.
const char* const eLabel[kLabelCount + 2] = {
    /*   0 */ "Orvella", "OK", "Cancel", "Broadcast", "Quit", "About",
    /*   6 */ "Clip", "07", "08", "09", "AM/PM", "11",
    /*  12 */ " Today-Now ", "13", "14", "About", "vorM-am", "nachM-pm",
    /*  18 */ "E24h", "19", "20", "Thanks", "today", "holiday",
    /*  24 */ "user day", "event", "AM or PM", "27", "28", "29",
    /*  30 */ "HTML-View", "MarkDays", "Open MarkDays-File", "Reload MarkDays", "34", "Globals",
    /*  36 */ "Locals", "Users", "vEvents", "39", "40", "1M Page",
    /*  42 */ "2Row Page", "3Row Page", "Calendars...", "Calendars", "Address", "Kind",
    /*  48 */ "User", "Password", "Add", "Remove", "Refresh", "Show",
    /*  54 */ "looking for calendars...", "syncing...", "synced", "offline since", "wrong password", "password needed",
    /*  60 */ "not a calendar", "certificate not trusted", "answer too large", "too many redirects",
    /*  64 */ "no answer in time", "server error",
    /*  66 */ "answer not readable", "not synced yet", "No keyring: the password is kept until Orvella quits.",
    /*  69 */ "no password over plain http", "cache not writable", "Expand View",
    /*  72 */ "Triple-Preview", "WindowTab", "Minutes", "Jan.", "Feb.", "Mar.",
    /*  78 */ "Apr.", "May.", "Jun.", "Jul.", "Aug.", "Sep.",
    /*  84 */ "Oct.", "Nov.", "Dec.", "e87", "AM", "PM",
    /*  90 */ "E24h", "Su", "Mo", "Tu", "We", "Th",
    /*  96 */ "Fr", "Sa", "Wk", "99", "100", nullptr,
};

// Texts from kMoreLabelFirst on.
const char* const eMoreLabel[kMoreLabelCount + 1] = {
    /* 101 */ "January", "February", "March", "April", "May", "June",
    /* 107 */ "July", "August", "September", "October", "November", "December",
    /* 113 */ "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday",
    /* 119 */ "Saturday", "Year", "Month", "Day", "Hour", "Minute",
    /* 125 */ "Clock", "Settings", nullptr,
};

const char* const* AllLabels()
{
  static const std::vector<const char*> all = [] {
    std::vector<const char*> texts(eLabel, eLabel + kLabelCount + 1);
    texts.insert(texts.end(), eMoreLabel, eMoreLabel + kMoreLabelCount + 1);
    return texts;
  }();
  return all.data();
}

void SetLabelSource(LabelSource source)
{
  gLabelSource = source;
}

const char* getLabel(int number)
{
  if (number <= 0 || number >= kLabelCount)
    return eLabel[0];
  if (gLabelSource != nullptr) {
    const char* text = gLabelSource(number);
    if (text != nullptr)
      return text;
  }
  return eLabel[number];
}

const char* getMoreLabel(int number)
{
  if (number < kMoreLabelFirst)
    return getLabel(number);
  if (number >= kMoreLabelFirst + kMoreLabelCount)
    return eLabel[0];
  if (gLabelSource != nullptr) {
    const char* text = gLabelSource(number);
    if (text != nullptr)
      return text;
  }
  return eMoreLabel[number - kMoreLabelFirst];
}
