#include "platform/messaging/StartUpThread.h"

#include "platform/messaging/BusConnection.h"

#include <fontconfig/fontconfig.h>

StartUpThread::StartUpThread(bool readFonts)
    : fThread([readFonts] {
        // FcInit makes the configuration that every later fontconfig call,
        // Qt's among them, takes as the current one.
        if (readFonts)
          FcInit();
        BusConnection::Connect();
      })
{
}

StartUpThread::~StartUpThread()
{
  Wait();
}

void StartUpThread::Wait()
{
  if (fThread.joinable())
    fThread.join();
}
