// Where each line of an encrypted dictionary sits, kept in a cache file so
// that a process that looks up one word reads and decrypts only the lines
// whose head word can be that word. The cache holds hashes of head words
// and byte positions, no text of the dictionary. It is made from the whole
// dictionary when missing or when the dictionary changed (size or time), and
// a cache that cannot be read or written only costs speed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "crypto/aes.h"

namespace kirvale::dictionary {

enum class CachedKey : std::uint32_t {
  JapaneseItem = 1,       // the Japanese list item
  EnglishHeadFolded = 2,  // the English head word, ASCII letters in lower case
};

class OffsetCache {
 public:
  // Opens `containerPath` (throws as crypto::ContainerFile does) and the
  // cache file for it in `cacheFolder`, making or remaking the cache when
  // needed. usable() is false when no cache could be had.
  OffsetCache(const std::string& containerPath, const std::string& cacheFolder, CachedKey key);
  ~OffsetCache();
  OffsetCache(const OffsetCache&) = delete;
  OffsetCache& operator=(const OffsetCache&) = delete;

  bool usable() const { return entries_ != nullptr; }

  // The lines (UTF-8, in file order, each once) whose key hashes like one of
  // `keys` (taken in the cache's form: folded for English). Every line whose
  // key equals one of them is among these; the caller compares.
  std::vector<std::string> Lines(const std::vector<std::string>& keys) const;

  // The cache file's path for a container.
  static std::string PathFor(const std::string& containerPath, const std::string& cacheFolder, CachedKey key);

 private:
  struct Entry {
    std::uint64_t hash;
    std::uint32_t line;
    std::uint32_t offset;
    std::uint32_t length;
    std::uint32_t unused;
  };
  bool map(const std::string& path);
  bool build(const std::string& path);

  crypto::ContainerFile container_;
  std::uint64_t containerSize_ = 0;
  std::int64_t containerTime_ = 0;
  CachedKey key_;
  void* mapped_ = nullptr;
  std::size_t mappedSize_ = 0;
  const Entry* entries_ = nullptr;
  std::size_t count_ = 0;
};

// The hash the cache files use (64-bit FNV-1a).
std::uint64_t KeyHash(std::string_view key);

}  // namespace kirvale::dictionary
