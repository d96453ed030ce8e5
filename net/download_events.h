#pragma once
#include <cstdint>

namespace kelvo {

// The events of CKelvoDownLoadFile. The owner implements the ones it
// handles; each forwards to its m_downfile_<Event> method.
class DownLoadFileEvents {
 public:
  virtual ~DownLoadFileEvents() = default;
  // Once per call, after the response was accepted, before any data.
  virtual void QueryFileInfo(int32_t /*dwFileTotalLen*/) {}
  // File mode, after each chunk was written: the bytes so far.
  virtual void Loading(int32_t /*dwRecivedLen*/) {}
  // Once at the end of every call, whatever the outcome.
  virtual void Complete() {}
};

}  // namespace kelvo
