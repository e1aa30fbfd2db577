#include <gtest/gtest.h>

#include "platform/registry.h"

TEST(Win32SmokeTest, RootNames) { EXPECT_EQ(veltrane::RootName(veltrane::RegistryRoot::kCurrentUser), "HKEY_CURRENT_USER"); }
