// Widget tests need one QApplication for the whole test program; it lives
// until the program ends.
#pragma once

#include <QApplication>

inline void EnsureGuiApp()
{
  if (QApplication::instance())
    return;
  static int argc = 1;
  static char name[] = "orvella-test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}
