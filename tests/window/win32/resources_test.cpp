// The program's own resources, read back from the linked resource section.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "window/win32/gdi_objects.h"

namespace kelvo {
namespace {

std::string ResourceData(LPCWSTR type, int id) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), type);
  if (!found) return {};
  return {static_cast<const char*>(LockResource(LoadResource(nullptr, found))),
          SizeofResource(nullptr, found)};
}

// Hide button 101, arrow strip 102 and progress skin 103 at 24 bits, with
// pixels that tell them apart: the hide button's blue ring, the strip's
// grey bevel and chevrons in two normal and two blue hover frames, the
// skin's grey border and track and its green fill.
TEST(Resources, BitmapsHaveTheirSizesDepthsAndColours) {
  const int shapes[][4] = {{101, 25, 25, 24}, {102, 93, 26, 24}, {103, 69, 14, 24}};
  const int pixels[][4] = {
      // id, x, y, colour
      {101, 0, 0, 0xFFFFFF},   {101, 12, 0, 0x60A8F4},  {101, 12, 12, 0xAAD0FA},
      {102, 11, 0, 0x999999},  {102, 22, 12, 0xD8D8D8}, {102, 9, 12, 0x7A7A7A},
      {102, 4, 4, 0xFAFAFA},   {102, 23, 12, 0x389CFF}, {102, 32, 12, 0x389CFF},
      {102, 46, 12, 0xD8D8D8}, {102, 59, 12, 0x7A7A7A}, {102, 69, 12, 0x389CFF},
      {102, 82, 12, 0x389CFF}, {102, 92, 0, 0x999999},  {102, 92, 1, 0xFAFAFA}};
  for (const auto& [id, width, height, depth] : shapes) {
    Bitmap bitmap(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                                  IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info{};
    ASSERT_TRUE(bitmap && GetObjectW(bitmap.Get(), sizeof info, &info)) << id;
    EXPECT_EQ(std::tuple(info.bmWidth, info.bmHeight, int{info.bmBitsPixel}),
              std::tuple(LONG{width}, LONG{height}, depth));
    MemoryDc dc(nullptr);
    Selection selected(dc.Get(), bitmap.Get());
    const auto at = [&dc](int x, int y) { return GetPixel(dc.Get(), x, y); };
    for (const auto& [picture, x, y, rgb] : pixels) {
      if (picture != id) continue;
      EXPECT_EQ(at(x, y), RGB(rgb >> 16, rgb >> 8 & 0xFF, rgb & 0xFF))
          << id << ": " << x << "," << y;
    }
    if (id != 103) continue;
    EXPECT_EQ(GetRValue(at(40, 0)), GetGValue(at(40, 0)));
    EXPECT_GT(GetGValue(at(40, 9)), GetRValue(at(40, 9)) + 60);
    EXPECT_GT(GetGValue(at(40, 2)), GetRValue(at(40, 2)));
    EXPECT_EQ(at(10, 7), RGB(GetRValue(at(10, 7)), GetRValue(at(10, 7)), GetRValue(at(10, 7))));
  }
}

// Icon group 1: 48, 32, 24 and 16 pixels, each at 8 and 32 bits (the
// window test sees the 16 and 32 pixel ones loaded).
TEST(Resources, ProgramIconHasEightImages) {
  const std::string group = ResourceData(RT_GROUP_ICON, 1);
  ASSERT_EQ(group.size(), 6u + 8 * 14);  // header, then 14-byte entries
  std::vector<std::pair<int, int>> images;
  for (int i = 0; i < 8; ++i) {
    const auto* entry = reinterpret_cast<const BYTE*>(group.data() + 6 + 14 * i);
    images.emplace_back(entry[0], entry[6] | entry[7] << 8);  // width, bits per pixel
  }
  EXPECT_EQ(images,
            (std::vector<std::pair<int, int>>{
                {48, 8}, {48, 32}, {32, 8}, {32, 32}, {24, 8}, {24, 32}, {16, 8}, {16, 32}}));
}

// The manifest selects version 6 of the common controls; the version
// resource says 1.0.0 and names the product.
TEST(Resources, ManifestAndVersion) {
  const std::string manifest = ResourceData(RT_MANIFEST, 1);
  // Windows 7 and 10/11 among the supported systems; run with the starter's rights.
  for (const char* part :
       {"Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"",
        "SMI/2017/WindowsSettings\">true</gdiScaling>", "level=\"asInvoker\"",
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
    EXPECT_NE(manifest.find(part), std::string::npos) << part;
  std::string version = ResourceData(RT_VERSION, VS_VERSION_INFO);  // a writable copy
  VS_FIXEDFILEINFO* fixed = nullptr;
  wchar_t* product = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(version.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  ASSERT_TRUE(VerQueryValueW(version.data(), L"\\StringFileInfo\\080404b0\\ProductName",
                             reinterpret_cast<void**>(&product), &length));
  EXPECT_STREQ(product, L"Kelvo日历");
}

}  // namespace
}  // namespace kelvo
