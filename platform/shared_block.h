// Named shared memory blocks, private to the user and the display.
//
// A block is a file in the user's runtime folder ($XDG_RUNTIME_DIR, or a
// private folder under the temporary folder) named after the block and the
// display, with mode 0600, mapped into every process that opens it. Two
// users, or two displays of one user, therefore never share or collide on a
// block, just as they never share the message socket beside it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kirvale::platform {

// The user's runtime folder ("" when no private folder can be had).
std::string RuntimeFolderPath();
// The display the program runs on, as a file-name part.
std::string DisplayTag();
// Where the block `name` lives for this user and display.
std::string SharedBlockPath(std::string_view name);

// Creates the block (or keeps an existing one, growing it to `size` when it
// is smaller). Returns 0, or the system error number.
int CreateSharedBlock(std::string_view name, std::size_t size);

// An opened and mapped block; unmapped when destroyed.
class SharedBlock {
 public:
  enum class Failure { None, NotFound, CannotMap };
  SharedBlock() = default;
  ~SharedBlock();
  SharedBlock(const SharedBlock&) = delete;
  SharedBlock& operator=(const SharedBlock&) = delete;

  // Opens the existing block with write access and maps all of it. A block
  // smaller than `minSize` cannot be mapped. On failure, `error` is the
  // system error number.
  Failure Open(std::string_view name, std::size_t minSize);
  int error() const { return error_; }

  unsigned char* data() const { return data_; }
  std::size_t size() const { return size_; }
  bool isOpen() const { return data_ != nullptr; }

 private:
  unsigned char* data_ = nullptr;
  std::size_t size_ = 0;
  int error_ = 0;
};

}  // namespace kirvale::platform
