// CKelvoDownLoadFile against the loopback test server, under Wine.
#include "net/win32/kelvo_download_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/test_server.h"

namespace kelvo {
namespace {

namespace server = test_server;

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The owner of the download: records every event in order, as text.
class DownloadOwner : public DownLoadFileEvents {
 public:
  DownloadOwner() : m_downfile(this) {}

  void QueryFileInfo(int32_t dwFileTotalLen) override { m_downfile_QueryFileInfo(dwFileTotalLen); }
  void Loading(int32_t dwRecivedLen) override { m_downfile_Loading(dwRecivedLen); }
  void Complete() override { m_downfile_Complete(); }

  void m_downfile_QueryFileInfo(int32_t total) {
    events.push_back("QueryFileInfo " + std::to_string(total));
  }
  void m_downfile_Loading(int32_t received) {
    events.push_back("Loading " + std::to_string(received));
    if (onLoading) onLoading(received);
  }
  void m_downfile_Complete() { events.push_back("Complete"); }

  CKelvoDownLoadFile m_downfile;
  std::vector<std::string> events;
  std::function<void(int32_t)> onLoading;
};

class DownloadFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server::Available()) << "run through tests/support/with_http_server";
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + "kelvo-download-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    target = folder + "\\payload.bin";
  }
  void TearDown() override {
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(target.c_str());
    RemoveDirectoryA(folder.c_str());
  }

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

  using Events = std::vector<std::string>;
  DownloadOwner owner;
  std::string folder;
  std::string target;
};

// --- file mode ---------------------------------------------------------

TEST_F(DownloadFileTest, FileModeWritesTheBodyAndReportsCumulativeTotals) {
  EXPECT_TRUE(DownloadToFile("/_/ok/20000"));
  EXPECT_EQ(owner.events, (Events{"QueryFileInfo 20000", "Loading 8192", "Loading 16384",
                                  "Loading 20000", "Complete"}));
  EXPECT_EQ(ReadFileBytes(target), server::Pattern(20000));
  EXPECT_EQ(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST_F(DownloadFileTest, FileModeWithoutEventsRaisesNone) {
  std::string text;
  EXPECT_TRUE(
      owner.m_downfile.DownLoadFile(server::Url("/_/ok/20000"), target, false, false, true, text));
  EXPECT_TRUE(owner.events.empty());
  EXPECT_EQ(ReadFileBytes(target).size(), 20000u);
}

TEST_F(DownloadFileTest, HiddenFlagCreatesAHiddenFile) {
  EXPECT_TRUE(DownloadToFile("/_/ok/100", true));
  const DWORD attributes = GetFileAttributesA(target.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(ReadFileBytes(target), server::Pattern(100));
}

TEST_F(DownloadFileTest, ExistingTargetIsReplacedWhole) {
  {
    std::ofstream old(target, std::ios::binary);
    old << std::string(50000, 'x');
  }
  EXPECT_TRUE(DownloadToFile("/_/ok/20000"));
  EXPECT_EQ(ReadFileBytes(target), server::Pattern(20000));
}

TEST_F(DownloadFileTest, StopFromLoadingHandlerEndsBeforeTheNextRead) {
  owner.onLoading = [&](int32_t) { owner.m_downfile.StopDownLoad(); };
  EXPECT_TRUE(DownloadToFile("/_/ok/20000"));
  EXPECT_EQ(owner.events, (Events{"QueryFileInfo 20000", "Loading 8192", "Complete"}));
  EXPECT_EQ(ReadFileBytes(target), server::Pattern(8192));
}

TEST_F(DownloadFileTest, StopRequestIsClearedByTheNextCall) {
  owner.m_downfile.StopDownLoad();
  EXPECT_TRUE(DownloadToFile("/_/ok/20000"));
  EXPECT_EQ(ReadFileBytes(target).size(), 20000u);
}

TEST_F(DownloadFileTest, NotFoundCreatesNoFileAndRaisesOnlyComplete) {
  EXPECT_FALSE(DownloadToFile("/_/notfound"));
  EXPECT_EQ(owner.events, (Events{"Complete"}));
  EXPECT_FALSE(FileExists(target));
  EXPECT_TRUE(server::WasRequested("/_/notfound"));
}

TEST_F(DownloadFileTest, ServerErrorCreatesNoFile) {
  EXPECT_FALSE(DownloadToFile("/_/status/500"));
  EXPECT_EQ(owner.events, (Events{"Complete"}));
  EXPECT_FALSE(FileExists(target));
}

TEST_F(DownloadFileTest, ChunkedBodyWithoutLengthYieldsNoFile) {
  EXPECT_FALSE(DownloadToFile("/_/chunked/20000"));
  EXPECT_EQ(owner.events, (Events{"Complete"}));
  EXPECT_FALSE(FileExists(target));
  EXPECT_TRUE(server::WasRequested("/_/chunked/20000"));
}

TEST_F(DownloadFileTest, ZeroLengthYieldsNoFile) {
  EXPECT_FALSE(DownloadToFile("/_/empty"));
  EXPECT_EQ(owner.events, (Events{"Complete"}));
  EXPECT_FALSE(FileExists(target));
}

TEST_F(DownloadFileTest, BodyCutOffEarlyLeavesThePartialFileAndEnds) {
  EXPECT_TRUE(DownloadToFile("/_/cut/20000/5000"));
  ASSERT_GE(owner.events.size(), 3u);
  EXPECT_EQ(owner.events.front(), "QueryFileInfo 20000");
  EXPECT_EQ(owner.events[owner.events.size() - 2], "Loading 5000");
  EXPECT_EQ(owner.events.back(), "Complete");
  EXPECT_EQ(ReadFileBytes(target), server::Pattern(5000));
}

TEST_F(DownloadFileTest, AbsurdLengthIsRefusedBeforeAnyFileIsMade) {
  EXPECT_FALSE(DownloadToFile("/_/huge"));
  EXPECT_EQ(owner.events, (Events{"Complete"}));
  EXPECT_FALSE(FileExists(target));
}

TEST_F(DownloadFileTest, LengthJustPast4GiBIsNotMistakenForASmallOne) {
  // 4294987296 is 2^32 + 20000: a 32-bit reading would say 20000.
  EXPECT_FALSE(DownloadToFile("/_/length/4294987296/20000"));
  EXPECT_EQ(owner.events, (Events{"Complete"}));
  EXPECT_FALSE(FileExists(target));
}

TEST_F(DownloadFileTest, RedirectIsFollowedToTheBody) {
  EXPECT_TRUE(DownloadToFile("/_/redirect/302/_/ok/20000"));
  EXPECT_EQ(owner.events.front(), "QueryFileInfo 20000");
  EXPECT_EQ(ReadFileBytes(target), server::Pattern(20000));
  EXPECT_TRUE(server::WasRequested("/_/redirect/302/_/ok/20000"));
  EXPECT_TRUE(server::WasRequested("/_/ok/20000"));
}

TEST_F(DownloadFileTest, TargetInAMissingFolderFailsAfterQueryFileInfo) {
  target = folder + "\\no-such-folder\\payload.bin";
  EXPECT_FALSE(DownloadToFile("/_/ok/100"));
  EXPECT_EQ(owner.events, (Events{"QueryFileInfo 100", "Complete"}));
  EXPECT_FALSE(FileExists(target));
}

TEST_F(DownloadFileTest, UnreachableServerFailsWithComplete) {
  std::string text = "keep";
  // Port 1 on the loopback: nothing listens there.
  EXPECT_FALSE(
      owner.m_downfile.DownLoadFile("http://127.0.0.1:1/x", target, false, true, true, text));
  EXPECT_EQ(owner.events, (Events{"Complete"}));
  EXPECT_FALSE(FileExists(target));
}

TEST_F(DownloadFileTest, MalformedUrlFailsWithComplete) {
  std::string text = "keep";
  EXPECT_FALSE(owner.m_downfile.DownLoadFile("not a url", target, false, true, true, text));
  EXPECT_EQ(owner.events, (Events{"Complete"}));
  EXPECT_EQ(text, "keep");
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
  EXPECT_FALSE(FileExists(folder + "\\nested.bin"));
  EXPECT_EQ(ReadFileBytes(target), server::Pattern(20000));
}

// The message loop runs between chunks: a message posted before the
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
  owner.onLoading = [&](int32_t) { handledAt.push_back(handled); };
  PostMessageW(probe, WM_APP, 0, 0);
  EXPECT_TRUE(DownloadToFile("/_/trickle/20000/4000/20"));
  ASSERT_GE(handledAt.size(), 2u);
  EXPECT_FALSE(handledAt.front());
  EXPECT_TRUE(handledAt.back());
  DestroyWindow(probe);
}

TEST_F(DownloadFileTest, SlowTrickleArrivesWhole) {
  EXPECT_TRUE(DownloadToFile("/_/trickle/20000/1000/5"));
  EXPECT_EQ(owner.events.back(), "Complete");
  EXPECT_EQ(owner.events[owner.events.size() - 2], "Loading 20000");
  EXPECT_EQ(ReadFileBytes(target), server::Pattern(20000));
}

TEST_F(DownloadFileTest, StallMidBodyStillCompletes) {
  EXPECT_TRUE(DownloadToFile("/_/stall/20000/8192/1"));
  EXPECT_EQ(ReadFileBytes(target), server::Pattern(20000));
}

// --- memory mode -------------------------------------------------------

TEST_F(DownloadFileTest, MemoryModeDecodesTheAnsiBodyAndReturnsFalse) {
  // "版本 1.0.1" in code page 936, CR LF, then ASCII.
  server::Serve("memory.txt", "\xB0\xE6\xB1\xBE 1.0.1\r\ndown|x|y");
  std::string text;
  EXPECT_FALSE(DownloadToMemory("/memory.txt", text));
  EXPECT_EQ(text, "版本 1.0.1\r\ndown|x|y");
  EXPECT_EQ(owner.events, (Events{"QueryFileInfo 20", "Complete"}));
  EXPECT_FALSE(FileExists(target));
}

TEST_F(DownloadFileTest, MemoryModeWithoutEventsRaisesNone) {
  server::Serve("quiet.txt", "hello");
  std::string text;
  EXPECT_FALSE(DownloadToMemory("/quiet.txt", text, false));
  EXPECT_EQ(text, "hello");
  EXPECT_TRUE(owner.events.empty());
}

TEST_F(DownloadFileTest, MemoryModeReadsLargeBodiesWhole) {
  server::Serve("large.txt", std::string(20000, 'a'));
  std::string text;
  EXPECT_FALSE(DownloadToMemory("/large.txt", text));
  EXPECT_EQ(text, std::string(20000, 'a'));
  EXPECT_EQ(owner.events, (Events{"QueryFileInfo 20000", "Complete"}));
}

TEST_F(DownloadFileTest, MemoryModeTakesExactlyOneMebibyte) {
  server::Serve("mib.txt", std::string(1048576, 'b'));
  std::string text;
  DownloadToMemory("/mib.txt", text);
  EXPECT_EQ(text.size(), 1048576u);
}

TEST_F(DownloadFileTest, MemoryModeRefusesMoreThanOneMebibyte) {
  server::Serve("toolarge.txt", std::string(1048577, 'c'));
  std::string text = "keep";
  EXPECT_FALSE(DownloadToMemory("/toolarge.txt", text));
  EXPECT_EQ(text, "keep");
  EXPECT_EQ(owner.events, (Events{"Complete"}));
}

TEST_F(DownloadFileTest, MemoryModeRefusesAnAbsurdLength) {
  std::string text = "keep";
  EXPECT_FALSE(DownloadToMemory("/_/huge", text));
  EXPECT_EQ(text, "keep");
  EXPECT_EQ(owner.events, (Events{"Complete"}));
}

TEST_F(DownloadFileTest, MemoryModeBodyCutOffEarlyEndsAndKeepsTheOldText) {
  std::string text = "keep";
  EXPECT_FALSE(DownloadToMemory("/_/cut/20000/5000", text));
  EXPECT_EQ(text, "keep");
  EXPECT_EQ(owner.events, (Events{"QueryFileInfo 20000", "Complete"}));
}

TEST_F(DownloadFileTest, MemoryModeConnectionClosedAfterAStallEnds) {
  std::string text = "keep";
  EXPECT_FALSE(DownloadToMemory("/_/stallclose/20000/100/1", text));
  EXPECT_EQ(text, "keep");
}

TEST_F(DownloadFileTest, MemoryModeNotFoundLeavesTheTextUnchanged) {
  std::string text = "keep";
  EXPECT_FALSE(DownloadToMemory("/_/notfound", text));
  EXPECT_EQ(text, "keep");
  EXPECT_EQ(owner.events, (Events{"Complete"}));
}

TEST_F(DownloadFileTest, MemoryModeChunkedOrEmptyYieldsNothing) {
  std::string text = "keep";
  EXPECT_FALSE(DownloadToMemory("/_/chunked/100", text));
  EXPECT_FALSE(DownloadToMemory("/_/empty", text));
  EXPECT_EQ(text, "keep");
  EXPECT_EQ(owner.events, (Events{"Complete", "Complete"}));
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

// A body that arrives in one read is taken without yielding to the loop.
TEST_F(DownloadFileTest, MemoryModeSmallBodyDoesNotYield) {
  server::Serve("small.txt", "tiny");
  MSG msg;
  PostThreadMessageW(GetCurrentThreadId(), WM_APP + 7, 0, 0);
  std::string text;
  DownloadToMemory("/small.txt", text);
  EXPECT_EQ(text, "tiny");
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_APP + 7, WM_APP + 7, PM_REMOVE));
}

}  // namespace
}  // namespace kelvo
