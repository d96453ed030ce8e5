// The program's manifest, read back from the linked resource section.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace kelvo {
namespace {

// Version 6 of the common controls, Windows 7 and 10/11 among the supported
// systems, per-monitor DPI awareness (v2, else v1), and the starter's rights: a standard user runs
// the program without being asked to elevate.
TEST(Resources, ManifestRunsAsInvokerWithCommonControls6) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_NE(found, nullptr);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(nullptr, found))),
                             SizeofResource(nullptr, found));
  for (const char* part :
       {"Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"", ">true/pm</dpiAware>",
        ">PerMonitorV2</dpiAwareness>", "level=\"asInvoker\"",
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
    EXPECT_NE(manifest.find(part), std::string::npos) << part;
}

}  // namespace
}  // namespace kelvo
