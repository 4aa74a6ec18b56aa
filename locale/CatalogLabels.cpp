#include "locale/CatalogLabels.h"

#include "calendar/Labels.h"
#include "platform/storage/BPath.h"
#include "platform/storage/FindDirectory.h"

#include <clocale>
#include <cstring>
#include <libintl.h>
#include <string>
#include <sys/stat.h>

namespace {

std::string gDomain;
std::string gFolder;

bool IsFolder(const std::string& path)
{
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

const char* LabelCatalogFolder()
{
  if (gFolder.empty()) {
    gFolder = ORVELLA_LOCALEDIR;
    // The build tree's bin/, or an installation's libexec/orvella/.
    BPath program;
    if (find_directory(B_PROGRAM_DIRECTORY, &program) == B_OK) {
      for (const char* up : {"/../share/locale", "/../../share/locale"}) {
        const std::string beside = std::string(program.Path()) + up;
        if (IsFolder(beside)) {
          gFolder = beside;
          break;
        }
      }
    }
  }
  return gFolder.c_str();
}

void UseLabelCatalog(const char* domain)
{
  gDomain = domain != nullptr ? domain : "";
  // gettext ignores LANGUAGE in the "C" locale; its UTF-8 twin keeps the
  // same rules and lets LANGUAGE choose.
  const char* messages = setlocale(LC_MESSAGES, nullptr);
  if (messages == nullptr || strcmp(messages, "C") == 0 || strcmp(messages, "POSIX") == 0)
    setlocale(LC_MESSAGES, "C.UTF-8");
  bindtextdomain(gDomain.c_str(), LabelCatalogFolder());
  bind_textdomain_codeset(gDomain.c_str(), "UTF-8");
  SetLabelSource(CatalogText);
}

const char* CatalogText(int number)
{
  if (gDomain.empty())
    return nullptr;
  if (number >= kMoreLabelFirst && number < kMoreLabelFirst + kMoreLabelCount)
    return dgettext(gDomain.c_str(), eMoreLabel[number - kMoreLabelFirst]);
  if (number <= 0 || number >= kLabelCount)
    return nullptr;
  return dgettext(gDomain.c_str(), eLabel[number]);
}
