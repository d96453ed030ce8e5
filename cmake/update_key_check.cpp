// Built for the host when a build is configured with a maker's key: the
// program's own PEM reader judges the key file, so configuring refuses
// exactly the files the program would. Exit status 0 for a usable key.
#include <fstream>
#include <iterator>
#include <string>

#include "net/signature_format.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::ifstream in(argv[1], std::ios::binary);
  const std::string pem{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return in.bad() || !kelvo::P256PointFromPem(pem) ? 1 : 0;
}
