#include "net/win32/trusted_download.h"

#include "desktop/win32/platform_text.h"
#include "net/win32/kelvo_download_file.h"
#include "net/win32/signature_verifier.h"
#include "net/win32/update_key.h"

namespace kelvo {

bool UpdateKeyBuiltIn() {
  return !BuiltInUpdateKey().empty();
}

bool SignatureAccepted(std::string_view body,
                       const std::function<std::optional<std::string>()>& fetchSignature) {
  if (!UpdateKeyBuiltIn()) return true;
  const std::optional<std::string> signature = fetchSignature();
  if (!signature) return false;
  // One verifier per check: the announcement thread and the interface
  // thread never share a CNG key.
  const std::optional<SignatureVerifier> verifier = SignatureVerifier::FromPem(BuiltInUpdateKey());
  return verifier && verifier->Verifies(body, *signature);
}

std::string DownloadSignedText(CKelvoDownLoadFile& loader, const std::string& url) {
  // Signatures cover the bytes as sent, before any decoding.
  loader.KeepRawBytes(true);
  std::string body;
  loader.DownLoadFile(url, "", false, false, false, body);
  const bool accepted =
      !body.empty() && SignatureAccepted(body, [&]() -> std::optional<std::string> {
        std::string signature;
        loader.DownLoadFile(url + std::string(kSignatureSuffix), "", false, false, false,
                            signature);
        if (signature.empty()) return std::nullopt;
        return signature;
      });
  loader.KeepRawBytes(false);
  return accepted ? FromAnsi(body) : std::string();
}

bool PayloadMatches(const std::string& path, const std::optional<Sha256Digest>& expected) {
  if (!expected) return true;
  return Sha256OfFile(path) == expected;
}

}  // namespace kelvo
