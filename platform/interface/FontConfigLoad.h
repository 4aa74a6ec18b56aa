// Reading the font configuration (fontconfig's XML files and its caches of
// the installed fonts) is the largest single step of a window program's
// start, and it waits for nothing else. A FontConfigLoad reads it on a
// helper thread while the toolkit starts; Wait returns once it is read, so
// that the toolkit, when it first looks for a font, finds it read rather
// than reading it a second time itself.
//
//   FontConfigLoad fonts;     // starts reading
//   ...                       // start the toolkit, reach the bus
//   fonts.Wait();             // before the first text is measured
#pragma once

#include <thread>

class FontConfigLoad {
public:
  FontConfigLoad();
  ~FontConfigLoad(); // waits
  FontConfigLoad(const FontConfigLoad&) = delete;
  FontConfigLoad& operator=(const FontConfigLoad&) = delete;

  void Wait();

private:
  std::thread fThread;
};
