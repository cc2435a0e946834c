// Seekable byte streams for the cipher layer: a size, a position, a read
// that returns how many bytes it read and a write that returns how many bytes
// it wrote.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace kirvale::crypto {

class ByteStream {
 public:
  virtual ~ByteStream() = default;
  virtual std::int64_t size() const = 0;
  virtual std::int64_t position() const = 0;
  virtual void seek(std::int64_t pos) = 0;
  virtual std::size_t read(void* buf, std::size_t n) = 0;
  virtual std::size_t write(const void* buf, std::size_t n) = 0;
};

class MemoryStream : public ByteStream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::string bytes) : data_(std::move(bytes)) {}
  std::int64_t size() const override { return static_cast<std::int64_t>(data_.size()); }
  std::int64_t position() const override { return pos_; }
  void seek(std::int64_t pos) override { pos_ = pos; }
  std::size_t read(void* buf, std::size_t n) override;
  std::size_t write(const void* buf, std::size_t n) override;
  const std::string& bytes() const { return data_; }

 private:
  std::string data_;
  std::int64_t pos_ = 0;
};

// A file opened for reading ("rb") or created/truncated for writing ("wb").
// Throws EStreamError-free std::runtime_error when it cannot be opened; the
// file is closed by the destructor on every path.
class FileStream : public ByteStream {
 public:
  // `mode`: the permissions of a file created for writing; a value other
  // than 0666 is also applied to a file that already exists.
  FileStream(const std::string& path, bool forWriting, unsigned mode = 0666);
  ~FileStream() override;
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;
  std::int64_t size() const override;
  std::int64_t position() const override;
  void seek(std::int64_t pos) override;
  std::size_t read(void* buf, std::size_t n) override;
  std::size_t write(const void* buf, std::size_t n) override;
  // Cuts or extends the file to exactly `length` bytes.
  void truncate(std::int64_t length);
  // Flushes and closes; throws EStreamError("Stream write error") when the
  // buffered data cannot be written.
  void close();

 private:
  std::FILE* f_ = nullptr;
  std::string path_;
};

}  // namespace kirvale::crypto
