// File-mode throughput of CKelvoDownLoadFile, a Windows-side benchmark run
// under Wine (the README says how).
//   kelvo-bench-download URL TARGET [RUNS]
// Downloads URL into TARGET RUNS times (default 3) and prints, per run and
// as the best run, the bytes, the seconds and the MB/s.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "net/win32/kelvo_download_file.h"

namespace {

class Counter : public kelvo::DownLoadFileEvents {
 public:
  void Loading(int32_t dwRecivedLen) override { received = dwRecivedLen; }
  int32_t received = 0;
};

double Now() {
  LARGE_INTEGER frequency, count;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&count);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: kelvo-bench-download URL TARGET [RUNS]\n");
    return 2;
  }
  const int runs = argc > 3 ? std::atoi(argv[3]) : 3;
  double best = 0;
  for (int run = 1; run <= runs; ++run) {
    Counter counter;
    kelvo::CKelvoDownLoadFile download(&counter);
    std::string unused;
    const double start = Now();
    const bool ok = download.DownLoadFile(argv[1], argv[2], false, true, true, unused);
    const double seconds = Now() - start;
    const double rate = counter.received / seconds / 1e6;
    if (rate > best) best = rate;
    std::printf("run %d: %s %d bytes in %.3f s = %.1f MB/s\n", run, ok ? "ok" : "FAILED",
                counter.received, seconds, rate);
  }
  std::printf("best: %.1f MB/s\n", best);
  return 0;
}
