// A dictionary's lines in one buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace kirvale::dictionary {

// Lines kept end to end in one buffer: a dictionary costs its text and four
// bytes a line, not a string object and an allocation for every line.
class LineStore {
 public:
  LineStore() = default;
  explicit LineStore(const std::vector<std::string>& lines);

  // False when the store would pass 4 GiB of text; nothing is added then.
  bool push_back(std::string_view line);
  void reserveText(std::size_t bytes) { text_.reserve(bytes); }

  std::size_t size() const { return starts_.size() - 1; }
  bool empty() const { return size() == 0; }
  std::string_view operator[](std::size_t i) const {
    return std::string_view(text_).substr(starts_[i], starts_[i + 1] - starts_[i]);
  }

  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;
    const_iterator() = default;
    const_iterator(const LineStore* store, std::size_t i) : store_(store), i_(i) {}
    std::string_view operator*() const { return (*store_)[i_]; }
    const_iterator& operator++() {
      ++i_;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator old = *this;
      ++i_;
      return old;
    }
    bool operator==(const const_iterator& o) const { return i_ == o.i_; }

   private:
    const LineStore* store_ = nullptr;
    std::size_t i_ = 0;
  };
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

  bool operator==(const std::vector<std::string>& lines) const;

 private:
  std::string text_;
  std::vector<std::uint32_t> starts_{0};  // line i is text_[starts_[i], starts_[i + 1])
};

}  // namespace kirvale::dictionary
