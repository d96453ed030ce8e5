#include "net/win32/http_response.h"

#include <string>
#include <string_view>

namespace kelvo {
namespace {

uint32_t QueryStatusCode(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof status;
  DWORD index = 0;
  if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                      &index)) {
    return 0;
  }
  return status;
}

// The header as text: the numeric form is a 32-bit DWORD and would quietly
// wrap a length of 4 GB or more into a small, wrong number.
std::optional<std::string> QueryContentLengthHeader(HINTERNET request) {
  char text[64] = {};
  DWORD size = sizeof text - 1;
  DWORD index = 0;
  if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, &index)) {
    return std::nullopt;
  }
  return std::string(text, size);
}

}  // namespace

std::optional<int32_t> AcceptedResponseTotal(HINTERNET request, DownloadMode mode) {
  const std::optional<std::string> lengthHeader = QueryContentLengthHeader(request);
  return AcceptedTotal(QueryStatusCode(request),
                       lengthHeader ? std::optional<std::string_view>(*lengthHeader) : std::nullopt,
                       mode);
}

}  // namespace kelvo
