// The network module loaded into a program that has the same code linked
// in, as the sync server tests and the sync benchmark have: each keeps its
// own globals, so that the program ends cleanly (before, both constructed
// and destroyed the module's request bodies: a double free at exit).
#include "sync/SyncNetwork.h"
#include "sync/network/DavExchange.h"

#include <gtest/gtest.h>

TEST(NetworkModule, LoadsBesideTheSameCodeLinkedIn)
{
  std::string why;
  const std::unique_ptr<SyncNetwork> network = LoadSyncNetwork(HttpLimits(), &why);
  ASSERT_NE(network, nullptr) << why;
  EXPECT_TRUE(kEtagsBody.contains("getetag"));
}
