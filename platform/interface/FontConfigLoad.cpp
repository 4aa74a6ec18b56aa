#include "platform/interface/FontConfigLoad.h"

#include <fontconfig/fontconfig.h>

FontConfigLoad::FontConfigLoad()
    // FcInit makes the configuration that every later fontconfig call,
    // the toolkit's among them, takes as the current one.
    : fThread([] { FcInit(); })
{
}

FontConfigLoad::~FontConfigLoad()
{
  Wait();
}

void FontConfigLoad::Wait()
{
  if (fThread.joinable())
    fThread.join();
}
