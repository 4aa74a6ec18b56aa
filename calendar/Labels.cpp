#include "calendar/Labels.h"

namespace {
LabelSource gLabelSource = nullptr;
}

// Texts by number; numbers without a label of their own hold their number.
const char* const eLabel[kLabelCount + 2] = {
    /*   0 */ "Orvella", "OK", "Cancel", "Broadcast", "Quit", "About",
    /*   6 */ "Clip", "07", "08", "09", "AM/PM", "11",
    /*  12 */ " Today-Now ", "13", "14", "About", "vorM-am", "nachM-pm",
    /*  18 */ "E24h", "19", "20", "Thanks", "22", "23",
    /*  24 */ "24", "25", "26", "27", "28", "29",
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
