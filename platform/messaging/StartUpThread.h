// Two slow steps of a program's start need nothing that the Qt application
// makes: reading the font configuration (fontconfig's XML files and its
// caches of the installed fonts) and reaching the session bus (a socket,
// authentication and the greeting to the bus daemon, which answers in its
// own time). A StartUpThread does both on a helper thread while Qt starts.
// Wait returns once they are done, so that Qt, when it first looks for a
// font, finds the configuration read rather than reading it a second time
// itself, and BusConnection::Open finds the connection made. The helper
// touches Qt (the bus connection is a Qt object), so the thread that makes
// the StartUpThread must already be known to Qt as its main thread.
//
//   QThread::currentThread();    // this thread is Qt's main thread
//   StartUpThread early(true);   // starts: fonts, then the bus
//   ...                          // start Qt
//   early.Wait();                // before the first text is measured
#pragma once

#include <thread>

class StartUpThread {
public:
  // A program without windows draws no text and skips the fonts.
  explicit StartUpThread(bool readFonts);
  ~StartUpThread(); // waits
  StartUpThread(const StartUpThread&) = delete;
  StartUpThread& operator=(const StartUpThread&) = delete;

  void Wait();

private:
  std::thread fThread;
};
