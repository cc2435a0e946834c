// Decrypting a container (a 4-byte length, then AES blocks): damaged
// headers, lengths and truncated ciphertext are refused with the cipher's
// errors or give at most the plain bytes the container holds.
#include <sys/stat.h>

#include "crypto/aes.h"
#include "fuzz_support.h"

using namespace kirvale;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string container = fuzz::ScratchPath("container.ini");
  const std::string plain = fuzz::ScratchPath("plain.ini");
  fuzz::WriteBytes(container, FUZZ_INPUT);
  std::remove(plain.c_str());

  bool decrypted = false;
  try {
    crypto::DecryptContainerToFile(container, plain, crypto::kSettingsPassphrase);
    decrypted = true;
  } catch (const crypto::EAESError&) {
  } catch (const crypto::EStreamError&) {
  }
  if (decrypted) {
    // A plain copy never holds more than the ciphertext that was present
    // (asked of the file system first: a damaged length must not make the
    // harness itself read gigabytes).
    struct stat st {};
    FUZZ_CHECK(::stat(plain.c_str(), &st) == 0);
    FUZZ_CHECK(size >= 4);
    FUZZ_CHECK(static_cast<std::size_t>(st.st_size) <= size - 4);
    const std::string out = fuzz::ReadBytes(plain);

    // What was decrypted encrypts to a container that decrypts to it again.
    const std::string plain2 = fuzz::ScratchPath("plain2.ini");
    crypto::EncryptFileToContainer(plain, container, crypto::kSettingsPassphrase);
    crypto::DecryptContainerToFile(container, plain2, crypto::kSettingsPassphrase);
    FUZZ_CHECK(fuzz::ReadBytes(plain2) == out);
  }

  // The stream layer on its own, from memory.
  crypto::MemoryStream source{std::string(FUZZ_INPUT)}, dest;
  try {
    crypto::AesDecryptStream(source, 0, crypto::KeyFromPassphrase(crypto::kDictionaryPassphrase), dest);
    FUZZ_CHECK(dest.bytes().size() == size);
  } catch (const crypto::EAESError&) {
    FUZZ_CHECK(size % 16 != 0);
  }
  return 0;
}
