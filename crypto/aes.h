// AES-128 over byte streams (ECB, 16 bytes at a time, zero-filled last block)
// and the encrypted file container: a 4-byte little-endian plain length, then
// the ciphertext. The block cipher is OpenSSL's; this layer adds the stream
// and container rules.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "crypto/stream.h"

namespace kirvale::crypto {

// Raised by the cipher layer for a ciphertext whose length is not a multiple
// of 16.
struct EAESError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
// Raised when a stream reads or writes fewer bytes than a block needs, and for
// files that cannot be opened or created.
struct EStreamError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
// Raised when a container's length header cannot be true: negative, or
// larger than the ciphertext that follows it. Nothing has been written.
struct EContainerDamaged : EStreamError {
  EContainerDamaged(const std::string& path, std::int64_t stated, std::int64_t present);
  std::string path;
  std::int64_t stated;   // the plain length the header claims
  std::int64_t present;  // the ciphertext bytes in the file
};

using AesKey = std::array<std::uint8_t, 16>;
using AesBlock = std::array<std::uint8_t, 16>;

// The passphrase's bytes cut to 16, or followed by zero bytes up to 16.
AesKey KeyFromPassphrase(std::string_view passphrase);

// An expanded key, ready for one direction. Expanding once per file
// operation keeps the work per block to the rounds themselves.
class AesKeySchedule {
 public:
  ~AesKeySchedule();
  AesKeySchedule(AesKeySchedule&&) noexcept;
  AesKeySchedule& operator=(AesKeySchedule&&) noexcept;
  // Transforms `n` bytes (a multiple of 16) block by block.
  void run(const std::uint8_t* in, std::uint8_t* out, std::size_t n) const;
  bool encrypting() const { return encrypt_; }

 private:
  friend AesKeySchedule AesExpandEncryptKey(const AesKey&);
  friend AesKeySchedule AesExpandDecryptKey(const AesKey&);
  AesKeySchedule(const AesKey& key, bool encrypt);
  void* ctx_ = nullptr;
  bool encrypt_ = true;
};

AesKeySchedule AesExpandEncryptKey(const AesKey& key);
AesKeySchedule AesExpandDecryptKey(const AesKey& key);
AesBlock AesEncryptBlock(const AesBlock& in, const AesKeySchedule& encryptSchedule);
AesBlock AesDecryptBlock(const AesBlock& in, const AesKeySchedule& decryptSchedule);

// Count rule: 0 means the whole source from its start; otherwise the count
// is cut to what is left in the source. Both read from the source's current
// position and write at the destination's.
void AesEncryptStream(ByteStream& source, std::int64_t count, const AesKey& key, ByteStream& dest);
void AesEncryptStream(ByteStream& source, std::int64_t count, const AesKeySchedule& schedule,
                      ByteStream& dest);
void AesDecryptStream(ByteStream& source, std::int64_t count, const AesKey& key, ByteStream& dest);
void AesDecryptStream(ByteStream& source, std::int64_t count, const AesKeySchedule& schedule,
                      ByteStream& dest);

// File level: source path, destination path, passphrase. The destination is
// created or truncated. Errors are raised as EAESError / EStreamError; a
// header that cannot be true raises EContainerDamaged before the plain file
// is created. `plainMode` gives the plain file's permissions (0600 for a copy
// that only its user may read: then an existing file's permissions are
// narrowed too).
void EncryptFileToContainer(const std::string& plainPath, const std::string& containerPath,
                            std::string_view passphrase);
void DecryptContainerToFile(const std::string& containerPath, const std::string& plainPath,
                            std::string_view passphrase, unsigned plainMode = 0666);

// The same container in memory: the container's bytes from a plain text,
// and the plain text of a container file (no plain file is written).
std::string EncryptToContainerBytes(std::string_view plain, std::string_view passphrase);
std::string DecryptContainerToBytes(const std::string& containerPath, std::string_view passphrase);

// A container opened for reading parts of its plain bytes: ECB lets any
// block be decrypted on its own, so a few lines cost a few blocks. Uses
// OpenSSL's plain block functions, which need no provider set-up: a
// one-look-up process starts faster.
class ContainerFile {
 public:
  // Throws EStreamError when the file cannot be opened or is shorter than
  // its header, EContainerDamaged when its stated length is negative or
  // larger than its ciphertext.
  ContainerFile(const std::string& path, std::string_view passphrase);
  ~ContainerFile();
  ContainerFile(const ContainerFile&) = delete;
  ContainerFile& operator=(const ContainerFile&) = delete;

  // The plain length the header states (the plain file's size).
  std::uint64_t plainSize() const { return plainSize_; }
  // Plain bytes [offset, offset + length), cut at plainSize().
  std::string read(std::uint64_t offset, std::uint64_t length) const;

 private:
  int fd_ = -1;
  std::uint64_t plainSize_ = 0;
  std::uint64_t cipherSize_ = 0;
  std::array<std::uint8_t, 256> key_{};  // the expanded decryption key (AES_KEY)
};

// The two fixed passphrases.
inline constexpr std::string_view kDictionaryPassphrase = "tomvi-karsel";
inline constexpr std::string_view kSettingsPassphrase = "karsel-tomvi";

}  // namespace kirvale::crypto
