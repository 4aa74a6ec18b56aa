// The activation token a request carries to Orvella: the one AskOrvel was
// started with goes into its first request only, and is gone from the
// environment its children get; outside a Wayland session there is no
// other.
#include "client/ActivationField.h"
#include "platform/messaging/BMessage.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(ActivationField, TheStartTokenGoesIntoTheFirstRequestOnly)
{
  unsetenv("WAYLAND_DISPLAY");
  unsetenv("WAYLAND_SOCKET");
  setenv("XDG_ACTIVATION_TOKEN", "from-the-launcher", 1);

  BMessage first('_KXT');
  AddActivationToken(&first);
  EXPECT_STREQ(first.GetString("_activationToken", "(none)"), "from-the-launcher");
  EXPECT_EQ(getenv("XDG_ACTIVATION_TOKEN"), nullptr);

  BMessage second('_KXT');
  AddActivationToken(&second);
  EXPECT_FALSE(second.HasString("_activationToken"));
}
