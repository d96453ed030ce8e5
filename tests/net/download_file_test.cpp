// CKelvoDownLoadFile against the loopback test server, under Wine.
#include "net/win32/kelvo_download_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/test_server.h"
#include "tests/support/win32_files.h"

namespace kelvo {
namespace {

namespace server = test_server;
using test::Exists;
using test::ReadBytes;
using Events = std::vector<std::string>;

// The owner of the download: records every event in order, as text.
class DownloadOwner : public DownLoadFileEvents {
 public:
  void QueryFileInfo(int32_t total) override {
    events.push_back("QueryFileInfo " + std::to_string(total));
  }
  void Loading(int32_t received) override {
    events.push_back("Loading " + std::to_string(received));
    if (onLoading) onLoading(received);
  }
  void Complete() override { events.push_back("Complete"); }

  CKelvoDownLoadFile m_downfile{this};
  Events events;
  std::function<void(int32_t)> onLoading;
};

class DownloadFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server::Available()) << "run through tests/support/with_http_server";
    folder = test::NewFolder("kelvo-download");
    target = folder + "\\payload.bin";
  }
  void TearDown() override { test::RemoveFolder(folder); }

  bool DownloadToFile(const std::string& path, bool hidden = false) {
    std::string untouched = "untouched";
    const bool result =
        owner.m_downfile.DownLoadFile(server::Url(path), target, hidden, true, true, untouched);
    EXPECT_EQ(untouched, "untouched") << "file mode must not touch the text";
    return result;
  }

  bool DownloadToMemory(const std::string& path, std::string& text, bool events = true) {
    return owner.m_downfile.DownLoadFile(server::Url(path), "", false, events, false, text);
  }

  DownloadOwner owner;
  std::string folder;
  std::string target;
};

// --- file mode ---------------------------------------------------------

TEST_F(DownloadFileTest, FileModeWritesTheBodyAndReportsCumulativeTotals) {
  EXPECT_TRUE(DownloadToFile("/_/ok/20000"));
  EXPECT_EQ(owner.events, (Events{"QueryFileInfo 20000", "Loading 8192", "Loading 16384",
                                  "Loading 20000", "Complete"}));
  EXPECT_EQ(ReadBytes(target), server::Pattern(20000));
  EXPECT_EQ(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST_F(DownloadFileTest, FileModeWithoutEventsRaisesNone) {
  std::string text;
  EXPECT_TRUE(
      owner.m_downfile.DownLoadFile(server::Url("/_/ok/20000"), target, false, false, true, text));
  EXPECT_TRUE(owner.events.empty());
  EXPECT_EQ(ReadBytes(target).size(), 20000u);
}

TEST_F(DownloadFileTest, HiddenFlagCreatesAHiddenFile) {
  EXPECT_TRUE(DownloadToFile("/_/ok/100", true));
  const DWORD attributes = GetFileAttributesA(target.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(ReadBytes(target), server::Pattern(100));
}

TEST_F(DownloadFileTest, ExistingTargetIsReplacedWhole) {
  test::WriteBytes(target, std::string(50000, 'x'));
  EXPECT_TRUE(DownloadToFile("/_/ok/20000"));
  EXPECT_EQ(ReadBytes(target), server::Pattern(20000));
}

TEST_F(DownloadFileTest, StopFromLoadingHandlerEndsBeforeTheNextRead) {
  owner.onLoading = [&](int32_t) { owner.m_downfile.StopDownLoad(); };
  EXPECT_TRUE(DownloadToFile("/_/ok/20000"));
  EXPECT_EQ(owner.events, (Events{"QueryFileInfo 20000", "Loading 8192", "Complete"}));
  EXPECT_EQ(ReadBytes(target), server::Pattern(8192));
}

TEST_F(DownloadFileTest, StopRequestIsClearedByTheNextCall) {
  owner.m_downfile.StopDownLoad();
  EXPECT_TRUE(DownloadToFile("/_/ok/20000"));
  EXPECT_EQ(ReadBytes(target).size(), 20000u);
}

// Answers that carry no usable body: no file is made, only Complete is raised.
TEST_F(DownloadFileTest, UnusableAnswersCreateNoFileAndRaiseOnlyComplete) {
  // 4294987296 is 2^32 + 20000: a 32-bit reading would say 20000.
  for (const char* path : {"/_/notfound", "/_/status/500", "/_/chunked/20000", "/_/empty",
                           "/_/huge", "/_/length/4294987296/20000"}) {
    SCOPED_TRACE(path);
    owner.events.clear();
    EXPECT_FALSE(DownloadToFile(path));
    EXPECT_EQ(owner.events, (Events{"Complete"}));
    EXPECT_FALSE(Exists(target));
    EXPECT_TRUE(server::WasRequested(path));
  }
}

TEST_F(DownloadFileTest, BodyCutOffEarlyLeavesThePartialFileAndEnds) {
  EXPECT_TRUE(DownloadToFile("/_/cut/20000/5000"));
  ASSERT_GE(owner.events.size(), 3u);
  EXPECT_EQ(owner.events.front(), "QueryFileInfo 20000");
  EXPECT_EQ(owner.events[owner.events.size() - 2], "Loading 5000");
  EXPECT_EQ(owner.events.back(), "Complete");
  EXPECT_EQ(ReadBytes(target), server::Pattern(5000));
}

TEST_F(DownloadFileTest, RedirectIsFollowedToTheBody) {
  EXPECT_TRUE(DownloadToFile("/_/redirect/302/_/ok/20000"));
  EXPECT_EQ(owner.events.front(), "QueryFileInfo 20000");
  EXPECT_EQ(ReadBytes(target), server::Pattern(20000));
  EXPECT_TRUE(server::WasRequested("/_/redirect/302/_/ok/20000"));
  EXPECT_TRUE(server::WasRequested("/_/ok/20000"));
}

TEST_F(DownloadFileTest, TargetInAMissingFolderFailsAfterQueryFileInfo) {
  target = folder + "\\no-such-folder\\payload.bin";
  EXPECT_FALSE(DownloadToFile("/_/ok/100"));
  EXPECT_EQ(owner.events, (Events{"QueryFileInfo 100", "Complete"}));
  EXPECT_FALSE(Exists(target));
}

// Port 1 on the loopback has no listener; "not a url" cannot be opened.
TEST_F(DownloadFileTest, UnreachableOrMalformedUrlFailsWithComplete) {
  for (const char* url : {"http://127.0.0.1:1/x", "not a url"}) {
    SCOPED_TRACE(url);
    owner.events.clear();
    std::string text = "keep";
    EXPECT_FALSE(owner.m_downfile.DownLoadFile(url, target, false, true, true, text));
    EXPECT_EQ(owner.events, (Events{"Complete"}));
    EXPECT_EQ(text, "keep");
    EXPECT_FALSE(Exists(target));
  }
}

TEST_F(DownloadFileTest, SecondDownloadStartedFromAHandlerIsTurnedAway) {
  bool nestedResult = true;
  owner.onLoading = [&](int32_t received) {
    if (received == 8192) {
      std::string text = "keep";
      nestedResult = owner.m_downfile.DownLoadFile(server::Url("/_/ok/10"), folder + "\\nested.bin",
                                                   false, false, true, text);
    }
  };
  EXPECT_TRUE(DownloadToFile("/_/ok/20000"));
  EXPECT_FALSE(nestedResult);
  EXPECT_FALSE(Exists(folder + "\\nested.bin"));
  EXPECT_EQ(ReadBytes(target), server::Pattern(20000));
}

// The message loop runs between chunks: a message posted during the
// download is handled while it is still running.
TEST_F(DownloadFileTest, MessagesAreHandledBetweenChunks) {
  static bool handled = false;
  handled = false;
  WNDCLASSW wc = {};
  wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_APP) handled = true;
    return DefWindowProcW(h, m, w, l);
  };
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"KelvoDownloadPumpProbe";
  RegisterClassW(&wc);
  HWND probe = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             wc.hInstance, nullptr);
  ASSERT_NE(probe, nullptr);
  std::vector<bool> handledAt;
  owner.onLoading = [&](int32_t) {
    if (handledAt.empty()) PostMessageW(probe, WM_APP, 0, 0);
    handledAt.push_back(handled);
  };
  EXPECT_TRUE(DownloadToFile("/_/trickle/20000/4000/20"));
  ASSERT_GE(handledAt.size(), 2u);
  EXPECT_FALSE(handledAt.front());
  EXPECT_TRUE(handledAt.back());
  DestroyWindow(probe);
}

// A slow trickle and a one-second stall mid-body both arrive whole.
TEST_F(DownloadFileTest, SlowOrStalledBodyArrivesWhole) {
  for (const char* path : {"/_/trickle/20000/1000/5", "/_/stall/20000/8192/1"}) {
    SCOPED_TRACE(path);
    owner.events.clear();
    EXPECT_TRUE(DownloadToFile(path));
    ASSERT_GE(owner.events.size(), 2u);
    EXPECT_EQ(owner.events[owner.events.size() - 2], "Loading 20000");
    EXPECT_EQ(owner.events.back(), "Complete");
    EXPECT_EQ(ReadBytes(target), server::Pattern(20000));
  }
}

// --- memory mode (always returns False) ---------------------------------

TEST_F(DownloadFileTest, MemoryModeDecodesTheAnsiBody) {
  // "版本 1.0.1" in code page 936, CR LF, then ASCII.
  server::Serve("memory.txt", "\xB0\xE6\xB1\xBE 1.0.1\r\ndown|x|y");
  std::string text;
  EXPECT_FALSE(DownloadToMemory("/memory.txt", text));
  EXPECT_EQ(text, "版本 1.0.1\r\ndown|x|y");
  EXPECT_EQ(owner.events, (Events{"QueryFileInfo 20", "Complete"}));
  EXPECT_FALSE(Exists(target));
}

TEST_F(DownloadFileTest, MemoryModeWithoutEventsRaisesNone) {
  server::Serve("quiet.txt", "hello");
  std::string text;
  EXPECT_FALSE(DownloadToMemory("/quiet.txt", text, false));
  EXPECT_EQ(text, "hello");
  EXPECT_TRUE(owner.events.empty());
}

// Bodies of many reads, up to exactly one mebibyte, are taken whole.
TEST_F(DownloadFileTest, MemoryModeReadsBodiesUpToOneMebibyteWhole) {
  for (size_t size : {20000u, 1048576u}) {
    SCOPED_TRACE(size);
    owner.events.clear();
    server::Serve("large.txt", std::string(size, 'a'));
    std::string text;
    EXPECT_FALSE(DownloadToMemory("/large.txt", text));
    EXPECT_EQ(text, std::string(size, 'a'));
    EXPECT_EQ(owner.events, (Events{"QueryFileInfo " + std::to_string(size), "Complete"}));
  }
}

// Too large, absurd, missing, chunked, empty, cut off or closed after a
// stall: the caller's text is left as it was.
TEST_F(DownloadFileTest, MemoryModeUnusableAnswersKeepTheOldText) {
  server::Serve("toolarge.txt", std::string(1048577, 'c'));
  const struct {
    const char* path;
    Events events;
  } rows[] = {{"/toolarge.txt", {"Complete"}},
              {"/_/huge", {"Complete"}},
              {"/_/notfound", {"Complete"}},
              {"/_/chunked/100", {"Complete"}},
              {"/_/empty", {"Complete"}},
              {"/_/cut/20000/5000", {"QueryFileInfo 20000", "Complete"}},
              {"/_/stallclose/20000/100/1", {"QueryFileInfo 20000", "Complete"}}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path);
    owner.events.clear();
    std::string text = "keep";
    EXPECT_FALSE(DownloadToMemory(row.path, text));
    EXPECT_EQ(text, "keep");
    EXPECT_EQ(owner.events, row.events);
  }
}

TEST_F(DownloadFileTest, MemoryModeFollowsARedirect) {
  server::Serve("moved.txt", "moved here");
  std::string text;
  DownloadToMemory("/_/redirect/301/moved.txt", text);
  EXPECT_EQ(text, "moved here");
}

TEST_F(DownloadFileTest, MemoryModeIgnoresAStopRequest) {
  server::Serve("stopped.txt", std::string(20000, 'd'));
  owner.m_downfile.StopDownLoad();
  std::string text;
  DownloadToMemory("/stopped.txt", text);
  EXPECT_EQ(text.size(), 20000u);
}

}  // namespace
}  // namespace kelvo
