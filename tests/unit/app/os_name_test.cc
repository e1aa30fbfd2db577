#include "app/os_name.h"

#include <gtest/gtest.h>

#include "platform/fake/system_info_fake.h"

namespace veltrane {
namespace {

constexpr uint16_t kX86 = processor_architecture::kIntel;
constexpr uint16_t kX64 = processor_architecture::kAmd64;
constexpr uint8_t kWorkstation = 1;
constexpr uint8_t kServer = 3;

struct OsCase {
  uint32_t platform;
  uint32_t major;
  uint32_t minor;
  uint32_t build;
  uint8_t productType;
  uint16_t architecture;
  const char* servicePack;
  const char* name;
};

TEST(OsNameTest, NamesEveryRowOfTheTable) {
  const OsCase cases[] = {
      {0, 3, 10, 0, 0, kX86, "", "Microsoft Win32s"},
      {1, 4, 0, 950, 0, kX86, "", "Microsoft Windows 95"},
      {1, 4, 0, 1111, 0, kX86, " B", "Microsoft Windows 95 OSR2"},
      {1, 4, 0, 1212, 0, kX86, " C", "Microsoft Windows 95 OSR2"},
      {1, 4, 0, 950, 0, kX86, "B", "Microsoft Windows 95"},  // the second character decides
      {1, 4, 10, 1998, 0, kX86, "", "Microsoft Windows 98"},
      {1, 4, 10, 2222, 0, kX86, " A ", "Microsoft Windows 98 SE"},
      {1, 4, 90, 3000, 0, kX86, "", ""},
      {1, 4, 91, 3000, 0, kX86, "", "Microsoft Windows Millennium Edition"},
      {1, 5, 0, 0, 0, kX86, "", ""},
      {2, 5, 0, 2195, kWorkstation, kX86, "Service Pack 4", "Microsoft Windows 2000"},
      {2, 5, 1, 2600, kWorkstation, kX86, "Service Pack 3", "Microsoft Windows XP"},
      {2, 5, 1, 2600, kWorkstation, kX64, "", "Microsoft Windows XP x64 Edition "},
      {2, 5, 1, 2600, kServer, kX64, "", "Microsoft Windows NT"},
      {2, 5, 2, 3790, kWorkstation, kX64, "Service Pack 2", "Microsoft Windows XP x64 Edition "},
      {2, 5, 2, 3790, kServer, kX64, "", "Microsoft Windows Server 2003"},
      {2, 5, 2, 3790, kWorkstation, kX86, "", "Microsoft Windows Server 2003"},
      {2, 6, 0, 6002, kWorkstation, kX86, "", "Microsoft Windows Vista"},
      {2, 6, 0, 6002, kWorkstation, kX64, "", "Microsoft Windows Vista x64 Edition "},
      {2, 6, 0, 6002, kServer, kX64, "", "Microsoft Windows NT"},
      {2, 6, 1, 7601, kWorkstation, kX86, "", "Microsoft Windows 7"},
      {2, 6, 1, 7601, kWorkstation, kX64, "", "Microsoft Windows 7 x64 Edition"},
      {2, 6, 2, 9200, kWorkstation, kX86, "", "Microsoft Windows 8"},
      {2, 6, 2, 9200, kWorkstation, kX64, "", "Microsoft Windows 8 x64 Edition"},
      {2, 6, 3, 9600, kWorkstation, kX86, "", "Microsoft Windows 8.1"},
      {2, 6, 3, 9600, kWorkstation, kX64, "", "Microsoft Windows 8.1 x64 Edition"},
      {2, 10, 0, 19045, kWorkstation, kX86, "", "Microsoft Windows 10"},
      {2, 10, 0, 21999, kWorkstation, kX64, "", "Microsoft Windows 10 x64 Edition"},
      {2, 10, 0, 22000, kWorkstation, kX64, "", "Microsoft Windows 11 x64 Edition"},
      {2, 10, 0, 26100, kWorkstation, processor_architecture::kArm64, "", "Microsoft Windows 11"},
      {2, 4, 0, 1381, kWorkstation, kX86, "Service Pack 6", "Microsoft Windows NT"},
      {2, 10, 1, 30000, kWorkstation, kX64, "", "Microsoft Windows NT"},
      {3, 10, 0, 0, 0, kX86, "", ""},
  };
  for (const auto& c : cases) {
    FakeSystemInfo system;
    system.SetVersion(OsVersion{c.platform, c.major, c.minor, c.build, c.servicePack, c.productType});
    system.SetNativeProcessorArchitecture(c.architecture);
    EXPECT_EQ(OsName(system), c.name) << c.platform << " " << c.major << "." << c.minor << "." << c.build;
  }
}

TEST(OsNameTest, AsksForTheVersionTwiceBeforeGivingUp) {
  FakeSystemInfo retried;  // a 64-bit Windows 7 by default
  retried.FailVersionQueries(1);
  EXPECT_EQ(OsName(retried), "Microsoft Windows 7 x64 Edition");

  FakeSystemInfo failing;
  failing.FailVersionQueries(2);
  EXPECT_EQ(OsName(failing), "");
  EXPECT_EQ(failing.VersionQueryCount(), 2);
}

}  // namespace
}  // namespace veltrane
