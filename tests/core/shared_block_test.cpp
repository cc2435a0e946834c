#include "platform/shared_block.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "support/temp_dir.h"

namespace kirvale::platform {
namespace {

// Points the runtime folder and the display at values of the test's own,
// and puts the old ones back afterwards.
class Environment {
 public:
  Environment(const std::string& runtime, const char* display) {
    save("XDG_RUNTIME_DIR", runtime.c_str());
    save("DISPLAY", display);
    save("WAYLAND_DISPLAY", nullptr);
  }
  ~Environment() {
    for (auto& [name, value, had] : saved_)
      had ? ::setenv(name.c_str(), value.c_str(), 1) : ::unsetenv(name.c_str());
  }

 private:
  void save(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved_.push_back({name, old ? old : "", old != nullptr});
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  struct Saved {
    std::string name, value;
    bool had;
  };
  std::vector<Saved> saved_;
};

TEST(SharedBlockTest, PrivatePerDisplayAndMapped) {
  testing::TempDir runtime;
  Environment env(runtime.path(), ":7");
  const std::string path = SharedBlockPath("GetWord32 for 9x NT 2000");
  EXPECT_EQ(path, runtime.path() + "/kirvale-GetWord32 for 9x NT 2000-_7.block");

  SharedBlock missing;
  EXPECT_EQ(missing.Open("GetWord32 for 9x NT 2000", 235), SharedBlock::Failure::NotFound);
  EXPECT_FALSE(missing.isOpen());

  ASSERT_EQ(CreateSharedBlock("GetWord32 for 9x NT 2000", 4096), 0);
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(st.st_size, 4096);

  // Two openings see the same bytes.
  SharedBlock a, b;
  ASSERT_EQ(a.Open("GetWord32 for 9x NT 2000", 235), SharedBlock::Failure::None);
  ASSERT_EQ(b.Open("GetWord32 for 9x NT 2000", 235), SharedBlock::Failure::None);
  a.data()[134] = 'x';
  EXPECT_EQ(b.data()[134], 'x');
  // Creating again keeps the contents.
  ASSERT_EQ(CreateSharedBlock("GetWord32 for 9x NT 2000", 235), 0);
  EXPECT_EQ(b.data()[134], 'x');

  // Another display has a block of its own.
  {
    Environment other(runtime.path(), ":8");
    SharedBlock c;
    EXPECT_EQ(c.Open("GetWord32 for 9x NT 2000", 235), SharedBlock::Failure::NotFound);
  }

  // A block too small for what the program touches is a mapping error.
  testing::WriteBytes(SharedBlockPath("short"), std::string(100, '\0'));
  SharedBlock small;
  EXPECT_EQ(small.Open("short", 235), SharedBlock::Failure::CannotMap);
  EXPECT_EQ(small.error(), EINVAL);
}

}  // namespace
}  // namespace kirvale::platform
