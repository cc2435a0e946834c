#include "dictionary/offset_cache.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "dictionary/dictionary_reader.h"
#include "dictionary/line_index.h"
#include "text/codec.h"

namespace kirvale::dictionary {
namespace {

constexpr char kMagic[8] = {'K', 'V', 'O', 'F', 'F', 'S', '0', '1'};

struct Header {
  char magic[8];
  std::uint64_t containerSize;
  std::int64_t containerTime;  // modification time, nanoseconds
  std::uint32_t key;
  std::uint32_t count;
};

std::string keyOf(CachedKey key, std::string_view line) {
  if (key == CachedKey::JapaneseItem) return std::string(KeyOf(IndexKey::JapaneseItem, line));
  return text::asciiLower(KeyOf(IndexKey::EnglishHead, line));
}

}  // namespace

std::uint64_t KeyHash(std::string_view key) {
  std::uint64_t h = 1469598103934665603ull;
  for (const char c : key) {
    h ^= static_cast<unsigned char>(c);
    h *= 1099511628211ull;
  }
  return h;
}

std::string OffsetCache::PathFor(const std::string& containerPath, const std::string& cacheFolder, CachedKey key) {
  std::error_code ec;
  const std::string absolute = std::filesystem::absolute(containerPath, ec).lexically_normal().string();
  char name[64];
  std::snprintf(name, sizeof name, "%016llx-%u.offsets", static_cast<unsigned long long>(KeyHash(absolute)),
                static_cast<unsigned>(key));
  return cacheFolder + "/" + name;
}

OffsetCache::OffsetCache(const std::string& containerPath, const std::string& cacheFolder, CachedKey key)
    : container_(containerPath, crypto::kDictionaryPassphrase), key_(key) {
  struct stat st {};
  if (::stat(containerPath.c_str(), &st) != 0) return;
  containerSize_ = static_cast<std::uint64_t>(st.st_size);
  containerTime_ = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  if (cacheFolder.empty()) return;
  const std::string path = PathFor(containerPath, cacheFolder, key);
  if (map(path)) return;
  if (build(path)) map(path);
}

OffsetCache::~OffsetCache() {
  if (mapped_) ::munmap(mapped_, mappedSize_);
}

bool OffsetCache::map(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || static_cast<std::size_t>(st.st_size) < sizeof(Header)) {
    ::close(fd);
    return false;
  }
  void* p = ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
  ::close(fd);
  if (p == MAP_FAILED) return false;
  Header h;
  std::memcpy(&h, p, sizeof h);
  const bool fits = std::memcmp(h.magic, kMagic, sizeof kMagic) == 0 && h.containerSize == containerSize_ &&
                    h.containerTime == containerTime_ && h.key == static_cast<std::uint32_t>(key_) &&
                    static_cast<std::size_t>(st.st_size) == sizeof(Header) + h.count * sizeof(Entry);
  if (!fits) {
    ::munmap(p, static_cast<std::size_t>(st.st_size));
    return false;
  }
  mapped_ = p;
  mappedSize_ = static_cast<std::size_t>(st.st_size);
  entries_ = reinterpret_cast<const Entry*>(static_cast<const char*>(p) + sizeof(Header));
  count_ = h.count;
  return true;
}

bool OffsetCache::build(const std::string& path) {
  // The whole dictionary once, split as the reader splits it.
  const std::string plain = container_.read(0, container_.plainSize());
  std::vector<Entry> entries;
  std::size_t start = 0;
  while (start < plain.size() && entries.size() < kMaxLines) {
    std::size_t end = start;
    while (end < plain.size() && plain[end] != '\r' && plain[end] != '\n') ++end;
    const std::string line = text::gbkToUtf8(std::string_view(plain).substr(start, end - start));
    entries.push_back({KeyHash(keyOf(key_, line)), static_cast<std::uint32_t>(entries.size()),
                       static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end - start), 0});
    if (end == plain.size()) break;
    start = end + 1;
    if (plain[end] == '\r' && start < plain.size() && plain[start] == '\n') ++start;
  }
  std::sort(entries.begin(), entries.end(),
            [](const Entry& a, const Entry& b) { return a.hash != b.hash ? a.hash < b.hash : a.line < b.line; });
  Header h{};
  std::memcpy(h.magic, kMagic, sizeof kMagic);
  h.containerSize = containerSize_;
  h.containerTime = containerTime_;
  h.key = static_cast<std::uint32_t>(key_);
  h.count = static_cast<std::uint32_t>(entries.size());
  std::string bytes(reinterpret_cast<const char*>(&h), sizeof h);
  bytes.append(reinterpret_cast<const char*>(entries.data()), entries.size() * sizeof(Entry));
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  return text::writeFileAtomically(path, bytes);
}

std::vector<std::string> OffsetCache::Lines(const std::vector<std::string>& keys) const {
  std::vector<const Entry*> hits;
  for (const std::string& k : keys) {
    const std::uint64_t h = KeyHash(k);
    const Entry* first = std::lower_bound(entries_, entries_ + count_, h, [](const Entry& e, std::uint64_t v) { return e.hash < v; });
    for (const Entry* e = first; e != entries_ + count_ && e->hash == h; ++e) hits.push_back(e);
  }
  std::sort(hits.begin(), hits.end(), [](const Entry* a, const Entry* b) { return a->line < b->line; });
  hits.erase(std::unique(hits.begin(), hits.end(), [](const Entry* a, const Entry* b) { return a->line == b->line; }),
             hits.end());
  std::vector<std::string> lines;
  lines.reserve(hits.size());
  for (const Entry* e : hits) lines.push_back(text::gbkToUtf8(container_.read(e->offset, e->length)));
  return lines;
}

}  // namespace kirvale::dictionary
