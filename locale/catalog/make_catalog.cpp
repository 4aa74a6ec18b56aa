// Writes the gettext catalog source (.po) of the second build from a
// dictionary, so that the two ways to translate cannot drift apart: the
// dictionary is loaded over the built-in label texts exactly as the program
// loads it, and every label becomes an entry whose message id is the
// built-in text. Labels that read the same in translation are entries too:
// gettext takes a text missing from the first language's catalog from the
// next one that LANGUAGE lists, and a German window would show French
// weekdays.
//
//   make_catalog Dictionaries/Orvella.deDE de orvella-de.po
//
// Fails when one built-in text would get two translations, or an empty
// one, which gettext takes for a missing translation.
#include "calendar/Labels.h"
#include "locale/KXLabel.h"
#include "platform/storage/AtomicFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ftw.h>
#include <map>
#include <string>
#include <unistd.h>

namespace {

std::string Quoted(const std::string& text)
{
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\')
      quoted += '\\';
    if (c == '\n')
      quoted += "\\n";
    else if (c == '\t')
      quoted += "\\t";
    else
      quoted += c;
  }
  return quoted + "\"";
}

} // namespace

int main(int argc, char** argv)
{
  if (argc != 4) {
    fprintf(stderr, "usage: %s DICTIONARY LANGUAGE OUT.po\n", argv[0]);
    return 2;
  }
  // Loading remembers the language in the locale setting; that must not
  // reach the settings of whoever builds.
  char settings[] = "/tmp/ova-catalog-XXXXXX";
  if (mkdtemp(settings) == nullptr) {
    perror("mkdtemp");
    return 1;
  }
  setenv("XDG_CONFIG_HOME", settings, 1);
  // The trace lines of the dictionary are of no use here.
  if (freopen("/dev/null", "w", stdout) == nullptr)
    return 1;

  KXLabel* labels = KXLabel::getKXLabel("catalog");
  const char* const* texts = AllLabels();
  labels->MirrorList(texts);
  char dictionary[4096];
  if (realpath(argv[1], dictionary) == nullptr) {
    perror(argv[1]);
    return 1;
  }
  labels->LoadLangFile(dictionary);

  std::map<std::string, std::string> entries;
  int status = 0;
  for (int number = 1; texts[number] != nullptr; number++) {
    if (number == kLabelCount)
      continue;  // "100" closes the numbered table; no program shows it
    const std::string translated = labels->getLabel(nullptr, number);
    if (translated.empty()) {
      fprintf(stderr, "%s: \"%s\" is translated to an empty text, which a catalog cannot hold\n", argv[1],
              texts[number]);
      status = 1;
    }
    auto [entry, added] = entries.emplace(texts[number], translated);
    if (!added && entry->second != translated) {
      fprintf(stderr, "%s: \"%s\" is translated twice\n", argv[1], texts[number]);
      status = 1;
    }
  }
  labels->DeleteMe();
  nftw(settings, [](const char* path, const struct stat*, int, struct FTW*) { return remove(path); }, 16,
       FTW_DEPTH | FTW_PHYS);
  if (status != 0)
    return status;

  // Written whole, so that a build stopped half-way leaves no half catalog
  // that the next build would take as up to date.
  std::string po;
  const char* slash = strrchr(argv[1], '/');
  po += std::string("# Made from ") + (slash != nullptr ? slash + 1 : argv[1]) +
        " by make_catalog; edit the dictionary, not this file.\n";
  po += std::string("msgid \"\"\nmsgstr \"\"\n\"Project-Id-Version: Orvella\\n\"\n\"Language: ") + argv[2] +
        "\\n\"\n\"MIME-Version: 1.0\\n\"\n\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
        "\"Content-Transfer-Encoding: 8bit\\n\"\n";
  for (const auto& [id, text] : entries)
    po += "\nmsgid " + Quoted(id) + "\nmsgstr " + Quoted(text) + "\n";
  const status_t written = WriteFileWhole(argv[3], po.data(), po.size());
  if (written != B_OK) {
    fprintf(stderr, "%s: %s\n", argv[3], StatusText(written));
    return 1;
  }
  return 0;
}
