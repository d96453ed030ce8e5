#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "net/signature_format.h"

namespace kelvo {

class CKelvoDownLoadFile;

// What the program takes from its server once it carries the maker's key:
// a file counts only with a valid NAME.sig beside it, and a payload only
// with the digest its down line names.

// Where the signature of the file at `url` is published.
inline constexpr std::string_view kSignatureSuffix = ".sig";

// True when the build carries a key, so manifests and lists must be signed
// and every down line must name its file's digest.
bool UpdateKeyBuiltIn();

// Whether `body` may be used. Without a built-in key always, and
// `fetchSignature` is not called. With one only when `fetchSignature`
// delivers the key's signature of exactly these bytes.
bool SignatureAccepted(std::string_view body,
                       const std::function<std::optional<std::string>()>& fetchSignature);

// The body at `url` fetched with `loader` in memory mode and decoded from
// the ANSI code page; with a built-in key, url + ".sig" is fetched the same
// way and the text is empty unless the signature holds.
std::string DownloadSignedText(CKelvoDownLoadFile& loader, const std::string& url);

// Whether the file at `path` (UTF-8) has the digest its down line named;
// true when the line named none.
bool PayloadMatches(const std::string& path, const std::optional<Sha256Digest>& expected);

}  // namespace kelvo
