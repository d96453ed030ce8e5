// CKelvoDownLoadFile against the loopback test server, under Wine.
#include "net/win32/kelvo_download_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/win32/mod_gg.h"
#include "tests/support/wine_testing.h"

namespace kelvo {
namespace {

using namespace test;
using Events = std::vector<std::string>;

// 20000 bytes whose order shows: the byte at offset i is i % 251.
std::string Body(size_t size = 20000) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i % 251);
  return bytes;
}

// The owner of the download: records every event in order, and at each
// Loading whether the message posted at the first one still waits.
class DownloadFileTest : public ::testing::Test, public DownLoadFileEvents {
 protected:
  void SetUp() override {
    Serve("body.bin", Body());
    target = (folder = NewFolder("kelvo-download")) + "\\payload.td";
  }
  void TearDown() override { RemoveFolder(folder); }

  void QueryFileInfo(int32_t total) override {
    events.push_back("QueryFileInfo " + std::to_string(total));
  }
  void Loading(int32_t received) override {
    MSG msg;
    if (pending.empty()) PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
    events.push_back("Loading " + std::to_string(received));
    pending.push_back(PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_NOREMOVE));
  }
  void Complete() override { events.push_back("Complete"); }

  bool Download(const std::string& url, bool toFile, std::string& text) {
    events.clear();
    return loader.DownLoadFile(url, target, false, true, toFile, text);
  }

  CKelvoDownLoadFile loader{this};
  Events events;
  std::vector<bool> pending;
  std::string folder, target;
};

// The message loop runs between chunks: the posted message is handled
// after the first.
TEST_F(DownloadFileTest, FileModeReplacesTheTargetReportsTotalsAndKeepsTheLoopRunning) {
  WriteBytes(target, std::string(50000, 'x'));
  std::string text = "untouched";
  EXPECT_TRUE(Download(ServerUrl("/body.bin"), true, text));
  EXPECT_EQ(events, (Events{"QueryFileInfo 20000", "Loading 8192", "Loading 16384", "Loading 20000",
                            "Complete"}));
  EXPECT_EQ(ReadBytes(target), Body());
  EXPECT_EQ(text, "untouched");
  EXPECT_EQ(pending, (std::vector<bool>{true, false, false}));
}

// A body cut short: file mode keeps what came (the update form discards
// it), memory mode keeps nothing.
TEST_F(DownloadFileTest, BodyCutShortEndsTheDownload) {
  std::string text = "keep";
  EXPECT_TRUE(Download(ServerUrl("/_/short/5000/0/body.bin"), true, text));
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events.front(), "QueryFileInfo 20000");
  EXPECT_EQ(events[events.size() - 2], "Loading 5000");
  EXPECT_EQ(events.back(), "Complete");
  EXPECT_EQ(ReadBytes(target), Body(5000));
  EXPECT_FALSE(Download(ServerUrl("/_/short/5000/0/body.bin"), false, text));
  EXPECT_EQ(events, (Events{"QueryFileInfo 20000", "Complete"}));
  EXPECT_EQ(text, "keep");
}

// No byte for 30 s fails the request, here and in the announcement fetch.
TEST_F(DownloadFileTest, RequestsWithoutBytesFor30SecondsFail) {
  GGFetch fetch;
  fetch.Start(ServerUrl("/_/delay/60/body.bin"));
  std::string text;
  const DWORD start = GetTickCount();
  EXPECT_FALSE(Download(ServerUrl("/_/short/10/60/body.bin"), false, text));
  EXPECT_EQ(text, "");
  EXPECT_GE(GetTickCount() - start, 29000u);
  EXPECT_LT(GetTickCount() - start, 40000u);
  EXPECT_TRUE(WaitFor([&] { return fetch.InFlight() == 0; }, 5000));
  EXPECT_FALSE(fetch.Loaded());
}

TEST_F(DownloadFileTest, MemoryModeDecodesTheWholeAnsiBody) {
  // "版本 1.0.1" in code page 936, CR LF, then 20000 bytes: several reads.
  Serve("memory.txt", "\xB0\xE6\xB1\xBE 1.0.1\r\n" + std::string(20000, 'a'));
  std::string text;
  EXPECT_FALSE(Download(ServerUrl("/memory.txt"), false, text));
  EXPECT_EQ(text, "版本 1.0.1\r\n" + std::string(20000, 'a'));
  EXPECT_EQ(events, (Events{"QueryFileInfo 20012", "Complete"}));
  // Announced over the memory cap: refused unread, no QueryFileInfo; at the cap it is read.
  EXPECT_FALSE(Download(ServerUrl("/_/length/1048577/memory.txt"), false, text));
  EXPECT_EQ(events, Events{"Complete"});
  EXPECT_FALSE(Download(ServerUrl("/_/length/1048576/memory.txt"), false, text));  // cut short
  EXPECT_EQ(events.front(), "QueryFileInfo 1048576");
}

// No usable answer: no file, the caller's text unchanged, only Complete.
TEST_F(DownloadFileTest, UnusableAnswersKeepNothing) {
  for (const std::string& url :
       {ServerUrl("/missing.bin"), ServerUrl("/_/status/500/body.bin"),
        ServerUrl("/_/length/none/body.bin"), ServerUrl("/_/length/4294987296/body.bin"),
        std::string("not a url")}) {
    for (const bool toFile : {true, false}) {
      std::string text = "keep";
      EXPECT_FALSE(Download(url, toFile, text)) << url;
      EXPECT_EQ(events, Events{"Complete"}) << url;
      EXPECT_EQ(text, "keep") << url;
      EXPECT_FALSE(std::filesystem::exists(target)) << url;
    }
  }
  target = folder + "\\no-such-folder\\payload.td";
  std::string text;
  EXPECT_FALSE(Download(ServerUrl("/body.bin"), true, text));
  EXPECT_EQ(events, (Events{"QueryFileInfo 20000", "Complete"}));
}

}  // namespace
}  // namespace kelvo
