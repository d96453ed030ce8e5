// The program built with a throw-away maker's key, under Wine, against a site
// signed by stock openssl: only a list or manifest with the key's signature
// counts, and only the payload its manifest names is installed.
#include "calendar/date.h"
#include "tests/update/win32/calendar_process.h"

namespace kelvo {
namespace {

using SignedUpdateTest = CalendarEndToEndTest;
const std::string kSignature = std::string(kManifest) + ".sig";

// A file of the signed site built beside this test.
std::string Signed(const std::string& name) {
  return ReadBytes("Z:" KELVO_TEST_SIGNED_SITE + name);
}
void ServeSigned(const std::string& name) {
  Serve(name, Signed(name));
}
void Unserve(const std::string& name) {
  DeleteFileA(ServedFile(name).c_str());
}

// Retried every 15 s: each check fetches the manifest and its signature.
TEST_F(SignedUpdateTest, UnsignedListAndManifestsNotSignedByTheKeyAskNothing) {
  ServeSigned(kList);
  Unserve(std::string(kList) + ".sig");
  const std::string manifest = Signed(kManifest), signature = Signed(kSignature);
  std::string changed = manifest;
  changed[changed.find("1.0.1") + 4] = '2';
  const struct {
    const char* what;
    std::string manifest, signature;  // an empty signature is not served
  } cases[] = {
      {"unsigned", manifest, ""},
      {"one byte changed after signing", changed, signature},
      {"signed by another key", manifest, Signed(std::string(kManifest) + ".other-sig")},
  };
  for (int i = 0; i < 3; ++i) {
    Serve(kManifest, cases[i].manifest);
    Unserve(kSignature);
    if (!cases[i].signature.empty()) Serve(kSignature, cases[i].signature);
    if (i == 0) Start(IDYES);
    EXPECT_TRUE(WaitFor([&] { return TimesRequested(kSignature) > i; }, 40000)) << cases[i].what;
    Sleep(1000);
    EXPECT_TRUE(watcher->Seen().empty()) << cases[i].what;
  }
  EXPECT_FALSE(LinksShown());
  EXPECT_TRUE(Running());
}

// A replayed old signed manifest asks nothing and stores no prompt date;
// the next check offers the newer one.
TEST_F(SignedUpdateTest, ReplayedOldManifestOffersNothingAndTheNextCheckOffersTheNewer) {
  Serve(kManifest, Signed("/myapp/KelvoCalendar/update-old.txt"));
  Serve(kSignature, Signed("/myapp/KelvoCalendar/update-old.txt.sig"));
  Start(IDNO);
  ASSERT_TRUE(WaitFor([&] { return TimesRequested(kSignature) == 1; }, 40000));
  Sleep(1000);
  EXPECT_EQ(watcher->Seen().size() + StoredDate().size(), 0u);
  for (const std::string name : {kManifest, kSignature.c_str()}) ServeSigned(name);
  EXPECT_TRUE(
      WaitFor([this] { return StoredDate() == Today() && !watcher->Seen().empty(); }, 40000));
}

TEST_F(SignedUpdateTest, PayloadChangedAfterSigningIsNeverInstalled) {
  ServeSigned(kManifest);
  ServeSigned(kSignature);
  Serve("/files/KelvoCalendar2.exe", Signed("/files/KelvoCalendar2.exe") + "!");
  Start(IDYES);
  ASSERT_TRUE(WaitFor([this] { return !watcher->Seen().empty(); }, 40000));
  Sleep(5000);
  for (const char* name : {"payload-started.txt", "KelvoCalendar2.exe", "KelvoCalendar2.exe.td"})
    EXPECT_FALSE(std::filesystem::exists(folder + "\\" + name)) << name;
}

TEST_F(SignedUpdateTest, SignedReleaseInstallsAndStarts) {
  for (const std::string name : {kManifest, kSignature.c_str(), "/files/KelvoCalendar2.exe"})
    ServeSigned(name);
  Start(IDYES);
  ASSERT_TRUE(
      WaitFor([&] { return std::filesystem::exists(folder + "\\payload-started.txt"); }, 60000));
  EXPECT_EQ(ReadBytes(folder + "\\KelvoCalendar2.exe"), Signed("/files/KelvoCalendar2.exe"));
}

class SignedHolidaysTest : public CalendarEndToEndTest {
 protected:
  // Steps the face to next January; how many of its weekdays January 4 to
  // 10 carry a red 休 in their cell's corner.
  int NextJanuaryDaysOff() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    for (int month = now.wMonth; month <= 12; ++month) EXPECT_TRUE(NextMonthAnswers());
    const int lead = WeekdayFromMonday({static_cast<int16_t>(now.wYear + 1), 1, 1});
    const int rowHeight = lead + 31 <= 35 ? 55 : 46;
    int daysOff = 0;
    for (int cell = lead + 3; cell <= lead + 9; ++cell) {
      int red = 0;
      for (uint32_t p : Face(51 + 55 * (cell % 7), 85 + rowHeight * (cell / 7), 14, 14))
        red += (p >> 16) > 200 && ((p >> 8) & 255) < 120 && (p & 255) < 120;
      daysOff += red > 5;
    }
    return daysOff;
  }
};

// After the signed list's links, a year published on the site shows its 休
// within one fetch and keeps it after a restart with the server gone, until
// its stored signature fails.
TEST_F(SignedHolidaysTest, PublishedYearShowsAndStaysUntilItsStoredSignatureFails) {
  const std::string holidays = "/myapp/KelvoCalendar/holidays.txt", list = kList;
  for (const std::string& name : {list, list + ".sig", holidays, holidays + ".sig"})
    ServeSigned(name);
  Start(IDNO);
  EXPECT_TRUE(WaitFor([this] { return LinksShown(); }, 10000)) << "the signed list";
  ASSERT_TRUE(WaitFor([&] { return TimesRequested(holidays + ".sig") == 1; }, 20000));
  EXPECT_EQ(NextJanuaryDaysOff(), 5);
  EXPECT_EQ(TimesRequested(holidays), 1);
  for (const std::string& name : {list, list + ".sig", holidays, holidays + ".sig"}) Unserve(name);
  Restart(IDNO);
  EXPECT_EQ(NextJanuaryDaysOff(), 5) << "kept offline";

  const std::string stored = ReadBytes(StoredHolidays()), signature = Signed(holidays + ".sig");
  std::string changed = stored;
  changed[changed.find("SERIAL 2") + 7] = '3';
  const std::pair<std::string, std::string> cases[] = {// an empty signature is not stored
                                                       {stored, ""},
                                                       {stored, Signed(holidays + ".other-sig")},
                                                       {changed, signature}};
  for (const auto& [bytes, sig] : cases) {
    WriteBytes(StoredHolidays(), bytes);
    DeleteFileA((StoredHolidays() + ".sig").c_str());
    if (!sig.empty()) WriteBytes(StoredHolidays() + ".sig", sig);
    Restart(IDNO);
    EXPECT_EQ(NextJanuaryDaysOff(), 0) << "unsigned, another key's, one byte changed";
  }
}

}  // namespace
}  // namespace kelvo
