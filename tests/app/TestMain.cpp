#include "tests/app/OrvellaFixture.h"

int main(int argc, char** argv)
{
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new OrvellaEnv);
  return RUN_ALL_TESTS();
}
