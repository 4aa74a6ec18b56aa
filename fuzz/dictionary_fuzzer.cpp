// Feeds arbitrary bytes to the language menu's scan and to the dictionary
// reader. The input's first line is a file name (any bytes but "/" and NUL,
// cut to 255), the rest the file's content; the file joins a German
// dictionary in the Dictionaries folder. Whatever the name and the lines
// hold, the scan must go on to list the German dictionary, and a load must
// leave a whole list of terminated texts that the German dictionary then
// translates as always.
#include "calendar/Labels.h"
#include "fuzz/FuzzHome.h"
#include "locale/KXLabel.h"
#include "locale/KXLangMenu.h"
#include "platform/interface/BMenuItem.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string gRoot;
std::string gFolder;
std::string gGerman;

bool HasItem(const KXLangMenu& menu, const char* label)
{
  for (int32 i = 0; i < menu.CountItems(); i++) {
    if (strcmp(menu.ItemAt(i)->Label(), label) == 0)
      return true;
  }
  return false;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  // A home of its own for the locale setting, a program folder with the
  // dictionaries.
  gRoot = MakeFuzzHome("dictionary");
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  gFolder = gRoot + "/Dictionaries";
  mkdir(gFolder.c_str(), 0755);
  gGerman = gFolder + "/Orvella.deDE";
  std::ofstream(gGerman) << "\"Cancel\" \"Abbrechen\"\n";
  static int argc = 1;
  static char name[] = "dictionary_fuzzer";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t newline = input.find('\n');
  std::string name = input.substr(0, std::min(newline, size_t(255)));
  for (char& c : name) {
    if (c == '/' || c == '\0')
      c = '_';
  }
  if (name.empty() || name == "." || name == ".." || name == "Orvella.deDE")
    name = "Orvella.xxXX";
  const std::string path = gFolder + "/" + name;
  {
    std::ofstream file(path, std::ios::binary);
    if (newline != std::string::npos)
      file << input.substr(newline + 1);
  }

  KXLabel* labels = KXLabel::getKXLabel("Orvella");
  {
    KXLangMenu menu("Language", "Orvella", gRoot.c_str());
    if (!HasItem(menu, "Deutsch"))
      abort();
  }
  labels->MirrorList(eLabel);
  labels->LoadLangFile(path.c_str());
  if (labels->TopIndex() != kLabelCount)
    abort();
  for (int32 number = 0; number <= labels->TopIndex(); number++) {
    // A text comes from the built-in table or from one line of the input.
    const char* text = labels->getLabel(nullptr, number);
    if (text == nullptr || strlen(text) > size + 32)
      abort();
  }
  labels->MirrorList(eLabel);
  labels->LoadLangFile(gGerman.c_str());
  if (strcmp(labels->getLabel(nullptr, 2), "Abbrechen") != 0)
    abort();
  unlink(path.c_str());
  return 0;
}
