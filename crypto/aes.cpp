#include "crypto/aes.h"

// The plain block functions are deprecated in OpenSSL 3 but stay there; they
// decrypt a few blocks without the provider set-up that EVP needs.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <fcntl.h>
#include <openssl/aes.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include <algorithm>
#include <vector>

namespace kirvale::crypto {
namespace {

// Blocks move through the streams in runs of this many bytes (a multiple of
// 16); the cipher still treats every 16-byte block on its own (ECB).
constexpr std::size_t kChunk = 64 * 1024;

EVP_CIPHER_CTX* ctxOf(void* p) { return static_cast<EVP_CIPHER_CTX*>(p); }

// The library is set up once without the system's OpenSSL configuration:
// our files are plain AES-128 of our own, which no provider or policy set
// there changes, and reading it costs half a megabyte of memory.
void initialiseOnce() {
  static const bool done = OPENSSL_init_crypto(OPENSSL_INIT_NO_LOAD_CONFIG, nullptr) == 1;
  if (!done) throw EAESError("Cannot initialise the cipher library");
}

std::int64_t applyCountRule(ByteStream& source, std::int64_t count) {
  if (count == 0) {
    source.seek(0);
    return source.size();
  }
  return std::min(count, source.size() - source.position());
}

void readExactly(ByteStream& s, std::uint8_t* buf, std::size_t n) {
  if (s.read(buf, n) != n) throw EStreamError("Stream read error");
}

void writeExactly(ByteStream& s, const std::uint8_t* buf, std::size_t n) {
  if (s.write(buf, n) != n) throw EStreamError("Stream write error");
}

}  // namespace

AesKey KeyFromPassphrase(std::string_view passphrase) {
  AesKey key{};
  std::copy_n(passphrase.begin(), std::min<std::size_t>(passphrase.size(), 16), key.begin());
  return key;
}

AesKeySchedule::AesKeySchedule(const AesKey& key, bool encrypt) : encrypt_(encrypt) {
  initialiseOnce();
  EVP_CIPHER_CTX* c = EVP_CIPHER_CTX_new();
  if (!c) throw EAESError("Cannot create cipher context");
  int ok = encrypt ? EVP_EncryptInit_ex(c, EVP_aes_128_ecb(), nullptr, key.data(), nullptr)
                   : EVP_DecryptInit_ex(c, EVP_aes_128_ecb(), nullptr, key.data(), nullptr);
  if (ok != 1) {
    EVP_CIPHER_CTX_free(c);
    throw EAESError("Cannot initialise AES-128");
  }
  EVP_CIPHER_CTX_set_padding(c, 0);
  ctx_ = c;
}

AesKeySchedule::~AesKeySchedule() {
  if (ctx_) EVP_CIPHER_CTX_free(ctxOf(ctx_));
}

AesKeySchedule::AesKeySchedule(AesKeySchedule&& o) noexcept : ctx_(o.ctx_), encrypt_(o.encrypt_) {
  o.ctx_ = nullptr;
}

AesKeySchedule& AesKeySchedule::operator=(AesKeySchedule&& o) noexcept {
  std::swap(ctx_, o.ctx_);
  encrypt_ = o.encrypt_;
  return *this;
}

void AesKeySchedule::run(const std::uint8_t* in, std::uint8_t* out, std::size_t n) const {
  int outLen = 0;
  int ok = encrypt_ ? EVP_EncryptUpdate(ctxOf(ctx_), out, &outLen, in, static_cast<int>(n))
                    : EVP_DecryptUpdate(ctxOf(ctx_), out, &outLen, in, static_cast<int>(n));
  if (ok != 1 || static_cast<std::size_t>(outLen) != n) throw EAESError("AES-128 failed");
}

AesKeySchedule AesExpandEncryptKey(const AesKey& key) { return AesKeySchedule(key, true); }
AesKeySchedule AesExpandDecryptKey(const AesKey& key) { return AesKeySchedule(key, false); }

AesBlock AesEncryptBlock(const AesBlock& in, const AesKeySchedule& s) {
  AesBlock out{};
  s.run(in.data(), out.data(), 16);
  return out;
}

AesBlock AesDecryptBlock(const AesBlock& in, const AesKeySchedule& s) {
  AesBlock out{};
  s.run(in.data(), out.data(), 16);
  return out;
}

void AesEncryptStream(ByteStream& source, std::int64_t count, const AesKeySchedule& schedule,
                      ByteStream& dest) {
  count = applyCountRule(source, count);
  if (count <= 0) return;
  std::vector<std::uint8_t> in(kChunk), out(kChunk);
  while (count >= 16) {
    std::size_t n = static_cast<std::size_t>(std::min<std::int64_t>(count, kChunk)) & ~std::size_t{15};
    readExactly(source, in.data(), n);
    schedule.run(in.data(), out.data(), n);
    writeExactly(dest, out.data(), n);
    count -= static_cast<std::int64_t>(n);
  }
  if (count > 0) {
    std::uint8_t block[16] = {};
    readExactly(source, block, static_cast<std::size_t>(count));
    schedule.run(block, out.data(), 16);
    writeExactly(dest, out.data(), 16);
  }
}

void AesEncryptStream(ByteStream& source, std::int64_t count, const AesKey& key, ByteStream& dest) {
  AesEncryptStream(source, count, AesExpandEncryptKey(key), dest);
}

void AesDecryptStream(ByteStream& source, std::int64_t count, const AesKeySchedule& schedule,
                      ByteStream& dest) {
  count = applyCountRule(source, count);
  if (count <= 0) return;
  if (count % 16 != 0) throw EAESError("Invalid buffer size for decryption");
  std::vector<std::uint8_t> in(kChunk), out(kChunk);
  while (count > 0) {
    std::size_t n = static_cast<std::size_t>(std::min<std::int64_t>(count, kChunk));
    readExactly(source, in.data(), n);
    schedule.run(in.data(), out.data(), n);
    writeExactly(dest, out.data(), n);
    count -= static_cast<std::int64_t>(n);
  }
}

void AesDecryptStream(ByteStream& source, std::int64_t count, const AesKey& key, ByteStream& dest) {
  AesDecryptStream(source, count, AesExpandDecryptKey(key), dest);
}

void EncryptFileToContainer(const std::string& plainPath, const std::string& containerPath,
                            std::string_view passphrase) {
  FileStream plain(plainPath, false);
  FileStream container(containerPath, true);
  std::uint32_t len = static_cast<std::uint32_t>(plain.size());
  std::uint8_t header[4] = {static_cast<std::uint8_t>(len), static_cast<std::uint8_t>(len >> 8),
                            static_cast<std::uint8_t>(len >> 16), static_cast<std::uint8_t>(len >> 24)};
  writeExactly(container, header, 4);
  AesEncryptStream(plain, 0, KeyFromPassphrase(passphrase), container);
  container.close();
}

namespace {

std::int32_t readLengthHeader(ByteStream& container) {
  std::uint8_t header[4];
  readExactly(container, header, 4);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(header[0]) |
                                   (static_cast<std::uint32_t>(header[1]) << 8) |
                                   (static_cast<std::uint32_t>(header[2]) << 16) |
                                   (static_cast<std::uint32_t>(header[3]) << 24));
}

// A stored length that the ciphertext cannot hold is refused before anything
// is created or allocated. A ciphertext that is not whole blocks is left to
// the cipher layer, which reports it in its own words.
void checkLength(const std::string& path, std::int32_t len, std::int64_t rest) {
  if (rest % 16 != 0) return;
  if (len < 0 || len > rest) throw EContainerDamaged(path, len, rest);
}

}  // namespace

EContainerDamaged::EContainerDamaged(const std::string& p, std::int64_t s, std::int64_t pr)
    : EStreamError("The file \"" + p + "\" is damaged: its header gives a length of " + std::to_string(s) +
                   " bytes, but it holds " + std::to_string(pr) + " bytes of data."),
      path(p),
      stated(s),
      present(pr) {}

void DecryptContainerToFile(const std::string& containerPath, const std::string& plainPath,
                            std::string_view passphrase, unsigned plainMode) {
  FileStream container(containerPath, false);
  // A container shorter than its header fails before the plain file exists.
  const std::int32_t len = readLengthHeader(container);
  const std::int64_t rest = container.size() - 4;
  checkLength(containerPath, len, rest);
  FileStream plain(plainPath, true, plainMode);
  if (rest > 0) AesDecryptStream(container, rest, KeyFromPassphrase(passphrase), plain);
  plain.truncate(len < 0 ? 0 : len);
  plain.close();
}

std::string EncryptToContainerBytes(std::string_view plainText, std::string_view passphrase) {
  MemoryStream plain{std::string(plainText)};
  MemoryStream container;
  const auto len = static_cast<std::uint32_t>(plainText.size());
  const std::uint8_t header[4] = {static_cast<std::uint8_t>(len), static_cast<std::uint8_t>(len >> 8),
                                  static_cast<std::uint8_t>(len >> 16), static_cast<std::uint8_t>(len >> 24)};
  writeExactly(container, header, 4);
  AesEncryptStream(plain, 0, KeyFromPassphrase(passphrase), container);
  return container.bytes();
}

std::string DecryptContainerToBytes(const std::string& containerPath, std::string_view passphrase) {
  FileStream container(containerPath, false);
  const std::int32_t len = readLengthHeader(container);
  const std::int64_t rest = container.size() - 4;
  checkLength(containerPath, len, rest);
  if (rest % 16 != 0) throw EAESError("Invalid buffer size for decryption");
  std::string plain(static_cast<std::size_t>(rest > 0 ? rest : 0), '\0');
  if (rest > 0) {
    // Decrypted in place: ECB works block by block.
    auto* bytes = reinterpret_cast<std::uint8_t*>(plain.data());
    readExactly(container, bytes, plain.size());
    AesExpandDecryptKey(KeyFromPassphrase(passphrase)).run(bytes, bytes, plain.size());
  }
  // The stated length cuts the zero-filled last block.
  plain.resize(static_cast<std::size_t>(len));
  return plain;
}

static_assert(sizeof(AES_KEY) <= 256, "AES_KEY fits the key buffer");

ContainerFile::ContainerFile(const std::string& path, std::string_view passphrase) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) throw EStreamError("Cannot open file " + path);
  struct stat st {};
  std::uint8_t header[4];
  if (::fstat(fd_, &st) != 0 || ::pread(fd_, header, 4, 0) != 4) {
    ::close(fd_);
    throw EStreamError("Stream read error");
  }
  const std::int32_t len = static_cast<std::int32_t>(
      static_cast<std::uint32_t>(header[0]) | (static_cast<std::uint32_t>(header[1]) << 8) |
      (static_cast<std::uint32_t>(header[2]) << 16) | (static_cast<std::uint32_t>(header[3]) << 24));
  const std::int64_t rest = static_cast<std::int64_t>(st.st_size) - 4;
  if (rest % 16 != 0) {
    ::close(fd_);
    throw EAESError("Invalid buffer size for decryption");
  }
  if (len < 0 || len > rest) {
    ::close(fd_);
    throw EContainerDamaged(path, len, rest);
  }
  plainSize_ = static_cast<std::uint64_t>(len);
  cipherSize_ = static_cast<std::uint64_t>(rest);
  const AesKey key = KeyFromPassphrase(passphrase);
  AES_set_decrypt_key(key.data(), 128, reinterpret_cast<AES_KEY*>(key_.data()));
}

ContainerFile::~ContainerFile() {
  if (fd_ >= 0) ::close(fd_);
}

std::string ContainerFile::read(std::uint64_t offset, std::uint64_t length) const {
  if (offset >= plainSize_) return {};
  length = std::min(length, plainSize_ - offset);
  std::string out(length, '\0');
  const std::uint64_t firstBlock = offset / 16;
  const std::uint64_t endBlock = std::min((offset + length + 15) / 16, cipherSize_ / 16);
  if (firstBlock >= endBlock) return out;
  std::vector<std::uint8_t> blocks((endBlock - firstBlock) * 16);
  if (::pread(fd_, blocks.data(), blocks.size(), static_cast<off_t>(4 + firstBlock * 16)) !=
      static_cast<ssize_t>(blocks.size()))
    throw EStreamError("Stream read error");
  const auto* key = reinterpret_cast<const AES_KEY*>(key_.data());
  for (std::size_t b = 0; b < blocks.size(); b += 16) AES_decrypt(blocks.data() + b, blocks.data() + b, key);
  const std::uint64_t skip = offset - firstBlock * 16;
  const std::uint64_t have = std::min<std::uint64_t>(length, blocks.size() - skip);
  std::memcpy(out.data(), blocks.data() + skip, have);
  return out;
}

}  // namespace kirvale::crypto
