// kelvo-publish: the maker's tool that writes and signs what the program
// fetches from its server (the update manifest, the announcement list and
// the holiday file). Refusals print one line and exit with status 2;
// verify exits with status 1 when anything under the site is wrong.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "calendar/holiday_file.h"
#include "net/announcements.h"
#include "net/signature_format.h"
#include "tools/publish/authenticode_check.h"
#include "tools/publish/code_page_936.h"
#include "tools/publish/openssl_keys.h"
#include "tools/publish/site_files.h"
#include "update/payload_hash.h"
#include "update/update_check.h"
#include "update/update_script.h"

namespace fs = std::filesystem;
using namespace kelvo;
using namespace kelvo::publish;

namespace {

constexpr const char* kUsage =
    "usage: kelvo-publish keygen DIR\n"
    "       kelvo-publish release [--ca CA.pem | --unsigned] --key KEY --version VERSION\n"
    "                             --base-url URL --out SITE FILE...\n"
    "       kelvo-publish announce --key KEY --out SITE LIST.txt\n"
    "       kelvo-publish holidays --key KEY --out SITE holidays.txt\n"
    "       kelvo-publish verify --pub PUBKEY SITE\n";
constexpr const char* kSignatureSuffix = ".sig";

struct Arguments {
  std::map<std::string, std::string> options;
  std::vector<std::string> rest;

  const std::string& Need(const std::string& name) const {
    const auto found = options.find(name);
    if (found == options.end()) throw Refusal("missing " + name);
    return found->second;
  }
};

// `flags` are options without a value; they map to "".
Arguments Parse(int argc, char** argv, std::initializer_list<std::string> known,
                std::initializer_list<std::string> flags = {}) {
  Arguments arguments;
  for (int i = 2; i < argc; ++i) {
    const std::string word = argv[i];
    if (word.rfind("--", 0) != 0) {
      arguments.rest.push_back(word);
      continue;
    }
    if (std::find(flags.begin(), flags.end(), word) != flags.end()) {
      arguments.options[word] = "";
      continue;
    }
    if (std::find(known.begin(), known.end(), word) == known.end() || i + 1 >= argc)
      throw Refusal("unknown option or missing value: " + word);
    arguments.options[word] = argv[++i];
  }
  return arguments;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Refusal("cannot read " + path.string());
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out.flush()) throw Refusal("cannot write " + path.string());
}

// Where a published address lives under SITE: its path after the host.
// Empty for an address that is not http(s) or climbs out of the site.
std::optional<fs::path> SitePathOf(const fs::path& site, std::string_view url) {
  if (!IsWebAddress(url)) return std::nullopt;
  const size_t hostStart = url.find("//") + 2;
  const size_t slash = url.find('/', hostStart);
  if (slash == std::string_view::npos) return std::nullopt;
  const fs::path relative = fs::path(std::string(url.substr(slash + 1))).lexically_normal();
  if (relative.empty() || *relative.begin() == "..") return std::nullopt;
  return site / relative;
}

// Signed before anything is written, so a bad key leaves the site alone.
void WriteSigned(const fs::path& path, const std::string& bytes, const std::string& signature) {
  WriteFile(path, bytes);
  WriteFile(path.string() + kSignatureSuffix, signature);
  std::cout << "wrote " << path.string() << " and its " << kSignatureSuffix << "\n";
}

int Keygen(int argc, char** argv) {
  const Arguments arguments = Parse(argc, argv, {});
  if (arguments.rest.size() != 1) throw Refusal("keygen takes one folder");
  fs::create_directories(arguments.rest[0]);
  GenerateKeyPair(arguments.rest[0]);
  std::cout << "wrote " << arguments.rest[0] << "/update-key.pem (keep it secret) and "
            << arguments.rest[0] << "/update-key.pub.pem (build with -DKELVO_UPDATE_KEY=...)\n";
  return 0;
}

// Programs built with the maker's key take only a greater version, so a
// release that is not one would reach nobody.
void RefuseNoNewerVersion(const fs::path& published, const std::string& version) {
  if (!fs::exists(published)) return;
  const std::optional<std::string> text = FromCodePage936(ReadFile(published));
  const std::string current = text ? PublishedVersion(*text) : "";
  const std::optional<std::strong_ordering> order = CompareVersions(version, current);
  if (order && *order != std::strong_ordering::greater)
    throw Refusal("version " + version + " is not greater than " + current +
                  ", the one already on the site");
}

int Release(int argc, char** argv) {
  const Arguments arguments =
      Parse(argc, argv, {"--key", "--version", "--base-url", "--out", "--ca"}, {"--unsigned"});
  const bool allowUnsigned = arguments.options.count("--unsigned") > 0;
  const std::string ca = arguments.options.count("--ca") ? arguments.options.at("--ca") : "";
  const std::string& key = arguments.Need("--key");
  const std::string& baseUrl = arguments.Need("--base-url");
  const fs::path site = arguments.Need("--out");
  std::vector<Payload> payloads;
  std::vector<std::string> contents;
  for (const std::string& file : arguments.rest) {
    if (!fs::is_regular_file(file)) throw Refusal("payload file " + file + " does not exist");
    if (fs::exists(key) && fs::equivalent(file, key))
      throw Refusal("payload file " + file + " is the private key");
    // A program Windows would show as from "未知发布者" is no release.
    if (!allowUnsigned && fs::path(file).extension() == ".exe" && !AuthenticodeVerifies(file, ca))
      throw Refusal(file +
                    ": osslsigncode verify finds no valid signature (sign the release, or "
                    "pass --unsigned)");
    contents.push_back(ReadFile(file));
    payloads.push_back({fs::path(file).filename().string(), Sha256(contents.back())});
  }
  const std::string& version = arguments.Need("--version");
  const std::string manifest = ManifestBytes(version, baseUrl, payloads);
  RefuseNoNewerVersion(site / kSiteFolder / "update.txt", version);
  const std::optional<fs::path> folder = SitePathOf(site, baseUrl + "x");
  if (!folder) throw Refusal("base address " + baseUrl + " has no folder under the site");
  const std::string signature = Sign(key, manifest);
  for (size_t i = 0; i < payloads.size(); ++i) {
    WriteFile(folder->parent_path() / payloads[i].name, contents[i]);
  }
  WriteSigned(site / kSiteFolder / "update.txt", manifest, signature);
  return 0;
}

int Announce(int argc, char** argv) {
  const Arguments arguments = Parse(argc, argv, {"--key", "--out"});
  if (arguments.rest.size() != 1) throw Refusal("announce takes one list file");
  const std::string bytes = ListBytes(ReadListSource(ReadFile(arguments.rest[0])));
  WriteSigned(fs::path(arguments.Need("--out")) / kSiteFolder / "GGList.txt", bytes,
              Sign(arguments.Need("--key"), bytes));
  return 0;
}

// Publishes the maker's holiday file as it is, once the program's own rules
// accept it and its SERIAL is above the one on the site.
int Holidays(int argc, char** argv) {
  const Arguments arguments = Parse(argc, argv, {"--key", "--out"});
  if (arguments.rest.size() != 1) throw Refusal("holidays takes one holiday file");
  const std::string bytes = ReadFile(arguments.rest[0]);
  const std::string fault = HolidayFileFault(bytes);
  if (!fault.empty()) throw Refusal(arguments.rest[0] + ": " + fault);
  const uint64_t serial = ParseHolidayFile(bytes)->Serial;
  const fs::path target = fs::path(arguments.Need("--out")) / kSiteFolder / "holidays.txt";
  if (fs::exists(target)) {
    const std::optional<HolidayFile> published = ParseHolidayFile(ReadFile(target));
    if (published && published->Serial >= serial)
      throw Refusal("SERIAL " + std::to_string(serial) + " is not greater than " +
                    std::to_string(published->Serial) + ", the one already on the site");
  }
  WriteSigned(target, bytes, Sign(arguments.Need("--key"), bytes));
  return 0;
}

// Checks one signed file; its bytes when the signature holds.
std::optional<std::string> CheckSigned(const fs::path& path, const std::string& publicKey,
                                       int& faults) {
  if (!fs::exists(path)) return std::nullopt;
  const std::string bytes = ReadFile(path);
  const fs::path signaturePath = path.string() + kSignatureSuffix;
  const std::string signature = fs::exists(signaturePath) ? ReadFile(signaturePath) : "";
  if (!DerSignatureToRaw(signature) || !Verify(publicKey, bytes, signature)) {
    std::cout << "FAULT " << path.filename().string() << ": no valid signature by this key\n";
    ++faults;
    return std::nullopt;
  }
  std::cout << path.filename().string() << ": signature good\n";
  return bytes;
}

void VerifyManifest(const fs::path& site, const std::string& bytes, int& faults) {
  const std::optional<std::string> text = FromCodePage936(bytes);
  if (!text) {
    std::cout << "FAULT update.txt: not code page 936 text\n";
    ++faults;
    return;
  }
  const std::string version = PublishedVersion(*text);
  std::cout << "version " << version << "\n";
  if (!IsVersionText(version)) ++faults, std::cout << "FAULT version is not digits and dots\n";
  if (!DownHashesAcceptable(*text, true))
    ++faults, std::cout << "FAULT a down line without a whole sha256= field\n";
  // A manifest with no script only names the current version; one with a
  // script must be what the program would offer as an update.
  const std::vector<ScriptCommand> script = ParseUpdateScript(*text, "{program folder}\\");
  if (!script.empty() && !IsAcceptableManifest(*text, "C:\\Program Files\\Kelvo\\"))
    ++faults, std::cout << "FAULT the program would not take this script as an update\n";
  for (const ScriptCommand& command : script) {
    switch (command.kind) {
      case ScriptCommand::Kind::Down: {
        std::cout << "down " << command.url << " -> " << command.path << "\n";
        const std::optional<fs::path> file = SitePathOf(site, command.url);
        if (!file || !fs::is_regular_file(*file)) {
          ++faults, std::cout << "FAULT " << command.url << ": no such file under the site\n";
        } else if (!command.sha256 || Sha256(ReadFile(*file)) != *command.sha256) {
          ++faults, std::cout << "FAULT " << file->string() << ": sha256 differs\n";
        }
        break;
      }
      case ScriptCommand::Kind::Del:
        std::cout << "del " << command.path << "\n";
        break;
      case ScriptCommand::Kind::Run:
        std::cout << "run " << command.path << "\n";
        break;
    }
  }
}

void VerifyList(const std::string& bytes, int& faults) {
  CalendarState state;
  ParseGGList(state, bytes);
  if (state.LinkCount == 0) ++faults, std::cout << "FAULT GGList.txt: no entries\n";
  for (const AnnouncementLink& link : state.AnnouncementLinks) {
    const auto title = FromCodePage936(link.LinkTitle);
    const auto address = FromCodePage936(link.LinkUrl);
    std::cout << "link " << title.value_or("?") << " -> " << address.value_or("?") << "\n";
    if (!title || !address || !IsWebAddress(*address))
      ++faults,
          std::cout << "FAULT the link above is not code page 936 text with an http(s) address\n";
  }
}

void VerifyHolidays(const std::string& bytes, int& faults) {
  const std::optional<HolidayFile> file = ParseHolidayFile(bytes);
  if (!file) {
    ++faults, std::cout << "FAULT holidays.txt: " << HolidayFileFault(bytes) << "\n";
    return;
  }
  std::cout << "holidays SERIAL " << file->Serial << ": years";
  for (const int16_t year : file->Years) std::cout << ' ' << year;
  std::cout << ", " << file->Days.size() << " marked days\n";
}

int VerifySite(int argc, char** argv) {
  const Arguments arguments = Parse(argc, argv, {"--pub"});
  if (arguments.rest.size() != 1) throw Refusal("verify takes one site folder");
  const std::string& publicKey = arguments.Need("--pub");
  if (!P256PointFromPem(ReadFile(publicKey)))
    throw Refusal(publicKey + " is not a key the program can carry (P-256 public key in PEM)");
  const fs::path folder = fs::path(arguments.rest[0]) / kSiteFolder;
  int faults = 0;
  const auto manifest = CheckSigned(folder / "update.txt", publicKey, faults);
  if (manifest) VerifyManifest(arguments.rest[0], *manifest, faults);
  const auto list = CheckSigned(folder / "GGList.txt", publicKey, faults);
  if (list) VerifyList(*list, faults);
  const auto holidays = CheckSigned(folder / "holidays.txt", publicKey, faults);
  if (holidays) VerifyHolidays(*holidays, faults);
  if (!fs::exists(folder / "update.txt") && !fs::exists(folder / "GGList.txt") &&
      !fs::exists(folder / "holidays.txt"))
    ++faults, std::cout << "FAULT no update.txt, GGList.txt or holidays.txt in " << folder.string()
                        << "\n";
  std::cout << (faults ? "site has faults: " + std::to_string(faults) : std::string("site is good"))
            << "\n";
  return faults ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  try {
    if (command == "keygen") return Keygen(argc, argv);
    if (command == "release") return Release(argc, argv);
    if (command == "announce") return Announce(argc, argv);
    if (command == "holidays") return Holidays(argc, argv);
    if (command == "verify") return VerifySite(argc, argv);
    if (command.empty()) {
      std::cerr << kUsage;
    } else {
      std::cerr << "kelvo-publish: unknown command \"" << command
                << "\" (keygen, release, announce, holidays or verify)\n";
    }
  } catch (const Refusal& refusal) {
    std::cerr << "kelvo-publish: " << refusal.what() << "\n";
  } catch (const fs::filesystem_error& error) {
    std::cerr << "kelvo-publish: " << error.what() << "\n";
  }
  return 2;
}
