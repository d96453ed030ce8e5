// CKelvoDownLoadFile against the loopback test server, under Wine.
#include "net/win32/kelvo_download_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

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

// The owner of the download: records every event in order.
class DownloadFileTest : public ::testing::Test, public DownLoadFileEvents {
 protected:
  void SetUp() override {
    Serve("body.bin", Body());
    folder = NewFolder("kelvo-download");
    target = folder + "\\payload.td";
  }
  void TearDown() override { RemoveFolder(folder); }

  void QueryFileInfo(int32_t total) override {
    events.push_back("QueryFileInfo " + std::to_string(total));
  }
  void Loading(int32_t received) override {
    events.push_back("Loading " + std::to_string(received));
    if (onLoading) onLoading();
  }
  void Complete() override { events.push_back("Complete"); }

  bool Download(const std::string& url, bool toFile, std::string& text) {
    events.clear();
    return loader.DownLoadFile(url, target, false, true, toFile, text);
  }

  CKelvoDownLoadFile loader{this};
  Events events;
  std::function<void()> onLoading;
  std::string folder, target;
};

// The message loop runs between chunks: a message posted before the
// download is handled by the second chunk.
TEST_F(DownloadFileTest, FileModeReplacesTheTargetReportsTotalsAndKeepsTheLoopRunning) {
  WriteBytes(target, std::string(50000, 'x'));
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
  PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
  std::vector<bool> pending;
  onLoading = [&] { pending.push_back(PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_NOREMOVE)); };
  std::string text = "untouched";
  EXPECT_TRUE(Download(ServerUrl("/body.bin"), true, text));
  EXPECT_EQ(events, (Events{"QueryFileInfo 20000", "Loading 8192", "Loading 16384", "Loading 20000",
                            "Complete"}));
  EXPECT_EQ(ReadBytes(target), Body());
  EXPECT_EQ(text, "untouched");
  EXPECT_EQ(pending, (std::vector<bool>{true, false, false}));
}

TEST_F(DownloadFileTest, MemoryModeDecodesTheWholeAnsiBody) {
  // "版本 1.0.1" in code page 936, CR LF, then 20000 bytes: several reads.
  Serve("memory.txt", "\xB0\xE6\xB1\xBE 1.0.1\r\n" + std::string(20000, 'a'));
  std::string text;
  EXPECT_FALSE(Download(ServerUrl("/memory.txt"), false, text));
  EXPECT_EQ(text, "版本 1.0.1\r\n" + std::string(20000, 'a'));
  EXPECT_EQ(events, (Events{"QueryFileInfo 20012", "Complete"}));
  EXPECT_FALSE(Exists(target));
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
      EXPECT_FALSE(Exists(target)) << url;
    }
  }
  target = folder + "\\no-such-folder\\payload.td";
  std::string text;
  EXPECT_FALSE(Download(ServerUrl("/body.bin"), true, text));
  EXPECT_EQ(events, (Events{"QueryFileInfo 20000", "Complete"}));
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

}  // namespace
}  // namespace kelvo
