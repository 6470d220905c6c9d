#include "settings/WindowsVersion.h"

#include <gtest/gtest.h>

#include "platform/sim/SimSystem.h"

namespace pellmark {
namespace {

TEST(WindowsVersion, FamiliesAreToldApartByPlatformAndMajorVersion) {
    struct Case {
        const char* name;
        std::uint32_t platformId, major, minor;
        bool is9x, isNT4, is2000, reachable;
    } const cases[] = {
        {"95", 1, 4, 0, true, false, false, true},
        {"98", 1, 4, 10, true, false, false, true},
        {"Me", 1, 4, 90, true, false, false, true},
        {"NT 3.51", 2, 3, 51, false, true, false, false},
        {"NT 4", 2, 4, 0, false, true, false, true},
        {"2000", 2, 5, 0, false, false, true, true},
        {"XP", 2, 5, 1, false, false, true, true},
        {"Vista", 2, 6, 0, false, false, false, true},
        {"10", 2, 10, 0, false, false, false, true},
        {"Win32s", 0, 3, 11, false, false, false, false},
        {"CE", 3, 4, 0, false, false, false, false},
    };
    for (const Case& c : cases) {
        sim::SimSystem system;
        system.version = {148, c.major, c.minor, 0, c.platformId, ""};
        EXPECT_EQ(IsWindows9x(system), c.is9x) << c.name;
        EXPECT_EQ(IsWindowsNT4(system), c.isNT4) << c.name;
        EXPECT_EQ(IsWindows2000(system), c.is2000) << c.name;
        EXPECT_EQ(system.versionReads, 3) << "each test reads the version afresh";
        EXPECT_EQ(LastVersionInfo().minorVersion, c.minor);
        EXPECT_EQ(DesktopReachable(system.version), c.reachable) << c.name;
    }
}

}  // namespace
}  // namespace pellmark
