// kirvale-cli: the dictionary's operations from the command line.
//
//   kirvale-cli encrypt SRC DST PASSPHRASE   plain file -> encrypted container
//   kirvale-cli decrypt SRC DST PASSPHRASE   encrypted container -> plain file
//
// Exit 0 on success; on failure the error text goes to stderr and the exit
// code is 1 (2 for bad usage).
#include <cstring>
#include <exception>
#include <iostream>
#include <string>

#include "crypto/aes.h"

namespace {

int usage() {
  std::cerr << "usage:\n"
               "  kirvale-cli encrypt SRC DST PASSPHRASE\n"
               "  kirvale-cli decrypt SRC DST PASSPHRASE\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const std::string cmd = argv[1];
  if (cmd == "encrypt" || cmd == "decrypt") {
    if (argc != 5) return usage();
    try {
      if (cmd == "encrypt")
        kirvale::crypto::EncryptFileToContainer(argv[2], argv[3], argv[4]);
      else
        kirvale::crypto::DecryptContainerToFile(argv[2], argv[3], argv[4]);
    } catch (const std::exception& e) {
      std::cerr << e.what() << "\n";
      return 1;
    }
    return 0;
  }
  return usage();
}
