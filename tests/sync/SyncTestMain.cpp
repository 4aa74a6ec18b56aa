// Tests that talk to servers run Qt's event loop: one core application
// for the whole program.
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
