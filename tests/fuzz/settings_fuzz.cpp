// The settings text ("key:value" lines): any text is read or refused, and
// settings that were read are written back and read again unchanged.
#include "fuzz_support.h"
#include "settings/settings_store.h"

using namespace kirvale;

namespace {
bool same(const settings::Settings& a, const settings::Settings& b) {
  for (const auto& f : settings::Fields())
    if (a.*f.member != b.*f.member) return false;
  return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view in = FUZZ_INPUT;
  settings::Settings s;
  const auto outcome = settings::ParseSettingsLines(fuzz::GbkLines(in), s);
  if (outcome.ok) {
    settings::Settings again;
    const auto second = settings::ParseSettingsLines(text::splitLines(settings::SettingsText(s)), again);
    FUZZ_CHECK(second.ok);
    FUZZ_CHECK(second.read.all());
    FUZZ_CHECK(same(s, again));
  }
  std::int16_t value = 0;
  if (settings::ParseSettingValue(in, value)) FUZZ_CHECK(!in.empty());
  return 0;
}
