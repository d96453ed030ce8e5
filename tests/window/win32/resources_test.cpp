// The program's own resources, read back from the linked resource section.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/window/win32/window_fixture.h"
#include "window/win32/gdi_objects.h"

namespace kelvo::testing {
namespace {

struct BitmapShape {
  int Width;
  int Height;
  int BitsPerPixel;
};

BitmapShape ShapeOf(int id) {
  Bitmap bitmap(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                                IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  BITMAP info{};
  if (bitmap) GetObjectW(bitmap.Get(), sizeof info, &info);
  return {info.bmWidth, info.bmHeight, info.bmBitsPixel};
}

// Reads pixels of a bitmap resource through a memory DC.
class ResourcePicture {
 public:
  explicit ResourcePicture(int id)
      : m_bitmap(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                                 IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))),
        m_dc(nullptr),
        m_selection(m_dc.Get(), m_bitmap.Get()) {}
  Color At(int x, int y) const {
    const COLORREF pixel = GetPixel(m_dc.Get(), x, y);
    return {GetRValue(pixel), GetGValue(pixel), GetBValue(pixel)};
  }

 private:
  Bitmap m_bitmap;
  MemoryDc m_dc;
  Selection m_selection;
};

std::string ResourceText(LPCWSTR type, int id) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), type);
  if (!found) return {};
  const char* data = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
  return std::string(data, SizeofResource(nullptr, found));
}

// Hide button 101, arrow strip 102 and progress skin 103 at 24 bits.
TEST(Bitmaps, SizesAndDepths) {
  const struct {
    int id;
    BitmapShape shape;
  } rows[] = {{101, {25, 25, 24}}, {102, {93, 26, 24}}, {103, {69, 14, 24}}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.id);
    const BitmapShape shape = ShapeOf(row.id);
    EXPECT_EQ(shape.Width, row.shape.Width);
    EXPECT_EQ(shape.Height, row.shape.Height);
    EXPECT_EQ(shape.BitsPerPixel, row.shape.BitsPerPixel);
  }
}

TEST(Bitmaps, ArrowStripNormalLeftFrameHasGreyChevronAndBevel) {
  ResourcePicture strip(102);
  EXPECT_EQ(strip.At(11, 0), (Color{153, 153, 153}));   // top edge
  EXPECT_EQ(strip.At(0, 12), (Color{153, 153, 153}));   // left edge
  EXPECT_EQ(strip.At(22, 12), (Color{216, 216, 216}));  // right edge
  EXPECT_EQ(strip.At(11, 25), (Color{216, 216, 216}));  // bottom edge
  EXPECT_EQ(strip.At(9, 12), (Color{122, 122, 122}));   // the chevron's point
  EXPECT_EQ(strip.At(13, 8), (Color{122, 122, 122}));   // its top end, row 8
  EXPECT_EQ(strip.At(13, 16), (Color{122, 122, 122}));  // its bottom end, row 16
  EXPECT_EQ(strip.At(13, 7), (Color{250, 250, 250}));
  EXPECT_EQ(strip.At(4, 4), (Color{250, 250, 250}));
}

TEST(Bitmaps, ArrowStripHoverFramesAreBlueAllRound) {
  ResourcePicture strip(102);
  for (int frame : {23, 69}) {
    EXPECT_EQ(strip.At(frame, 12), (Color{56, 156, 255}));
    EXPECT_EQ(strip.At(frame + 22, 12), (Color{56, 156, 255}));
    EXPECT_EQ(strip.At(frame + 11, 0), (Color{56, 156, 255}));
    EXPECT_EQ(strip.At(frame + 11, 25), (Color{56, 156, 255}));
  }
  EXPECT_EQ(strip.At(23 + 9, 12), (Color{56, 156, 255}));   // left chevron point
  EXPECT_EQ(strip.At(69 + 13, 12), (Color{56, 156, 255}));  // right chevron point
}

TEST(Bitmaps, ArrowStripNormalRightFrameMirrorsTheBevel) {
  ResourcePicture strip(102);
  EXPECT_EQ(strip.At(46 + 22, 12), (Color{153, 153, 153}));  // right edge grey
  EXPECT_EQ(strip.At(46, 12), (Color{216, 216, 216}));       // left edge light
  EXPECT_EQ(strip.At(46 + 13, 12), (Color{122, 122, 122}));  // point
}

TEST(Bitmaps, ArrowStripBackgroundColumnIsBevelledTopAndBottom) {
  ResourcePicture strip(102);
  EXPECT_EQ(strip.At(92, 0), (Color{153, 153, 153}));
  EXPECT_EQ(strip.At(92, 1), (Color{250, 250, 250}));
  EXPECT_EQ(strip.At(92, 24), (Color{250, 250, 250}));
  EXPECT_EQ(strip.At(92, 25), (Color{216, 216, 216}));
}

TEST(Bitmaps, HideButtonIsABlueRingWithACrossOnWhite) {
  ResourcePicture button(101);
  EXPECT_EQ(button.At(0, 0), (Color{255, 255, 255}));
  EXPECT_EQ(button.At(12, 0), (Color{96, 168, 244}));
  EXPECT_EQ(button.At(24, 12), (Color{96, 168, 244}));
  EXPECT_EQ(button.At(12, 12), (Color{170, 208, 250}));
  EXPECT_EQ(button.At(12, 5), (Color{255, 255, 255}));
}

TEST(Bitmaps, ProgressSkinFillIsGreenBetweenGreyBorderRows) {
  ResourcePicture skin(103);
  const Color top = skin.At(40, 0);
  const Color inside = skin.At(40, 9);
  EXPECT_EQ(top.Red, top.Green);  // grey
  EXPECT_GT(inside.Green, inside.Red + 60);
  EXPECT_GT(skin.At(40, 2).Green, skin.At(40, 2).Red);
  // The track is grey all through its middle.
  const Color track = skin.At(10, 7);
  EXPECT_EQ(track.Red, track.Green);
  EXPECT_EQ(track.Green, track.Blue);
}

#pragma pack(push, 2)
struct IconGroupHeader {
  WORD Reserved;
  WORD Type;
  WORD Count;
};
struct IconGroupEntry {
  BYTE Width;
  BYTE Height;
  BYTE ColorCount;
  BYTE Reserved;
  WORD Planes;
  WORD BitCount;
  DWORD BytesInRes;
  WORD Id;
};
#pragma pack(pop)

TEST(ProgramIcon, GroupOneHoldsEightImagesAtFourSizesAndTwoDepths) {
  const std::string group = ResourceText(RT_GROUP_ICON, 1);
  ASSERT_GE(group.size(), sizeof(IconGroupHeader));
  IconGroupHeader header;
  std::memcpy(&header, group.data(), sizeof header);
  ASSERT_EQ(header.Count, 8);
  ASSERT_EQ(group.size(), sizeof header + 8 * sizeof(IconGroupEntry));
  std::vector<std::pair<int, int>> images;
  for (int i = 0; i < 8; ++i) {
    IconGroupEntry entry;
    std::memcpy(&entry, group.data() + sizeof header + i * sizeof entry, sizeof entry);
    images.emplace_back(entry.Width, entry.BitCount);
  }
  const std::vector<std::pair<int, int>> expected{{48, 8}, {48, 32}, {32, 8}, {32, 32},
                                                  {24, 8}, {24, 32}, {16, 8}, {16, 32}};
  EXPECT_EQ(images, expected);
}

TEST(ProgramIcon, LoadsAtSixteenAndThirtyTwoPixels) {
  for (int size : {16, 32}) {
    HICON icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
    ASSERT_NE(icon, nullptr) << size;
    ICONINFO info{};
    GetIconInfo(icon, &info);
    BITMAP colour{};
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
}

TEST(Manifest, SelectsVersionSixOfTheCommonControls) {
  const std::string manifest = ResourceText(RT_MANIFEST, 1);
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(manifest.find("SMI/2017/WindowsSettings\">true</gdiScaling>"), std::string::npos);
}

TEST(VersionResource, SaysOnePointZeroPointZero) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
  ASSERT_NE(found, nullptr);
  const DWORD size = SizeofResource(nullptr, found);
  std::vector<char> copy(size);
  std::memcpy(copy.data(), LockResource(LoadResource(nullptr, found)), size);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(copy.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  wchar_t* product = nullptr;
  ASSERT_TRUE(VerQueryValueW(copy.data(), L"\\StringFileInfo\\080404b0\\ProductName",
                             reinterpret_cast<void**>(&product), &length));
  EXPECT_STREQ(product, L"Kelvo日历");
}

}  // namespace
}  // namespace kelvo::testing
