// Every skin stays readable: each text colour its style sheet and palette set
// has a contrast of at least 4.5:1 against the backgrounds it is drawn on.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "settings/contrast.h"
#include "settings/styles.h"

using namespace kirvale::settings;

namespace {
std::string readSkin(int n) {
  std::ifstream in(std::string(KIRVALE_SOURCE_DIR) + "/resources/skins/" + std::to_string(n) + ".qss");
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}
}  // namespace

TEST(SkinContrast, RatioOfKnownColours) {
  EXPECT_NEAR(ContrastRatio(0x000000, 0xFFFFFF), 21.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(0xFFFFFF, 0x000000), 21.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(0x316AC5, 0x316AC5), 1.0, 1e-9);
  // Mid grey on white: the usual 4.48, just below the limit.
  EXPECT_NEAR(ContrastRatio(0x777777, 0xFFFFFF), 4.48, 0.01);
  // Green looks far brighter than blue of the same strength.
  EXPECT_GT(RelativeLuminance(0x00FF00), 5 * RelativeLuminance(0x0000FF));
}

TEST(SkinContrast, PairsTakenFromRules) {
  const char* sheet =
      "/* a comment { color: #000 } */\n"
      "QPushButton { color: #111111; background: qlineargradient(x1:0, stop:0 #FFFFFF, stop:1 #ABC); }\n"
      "QLabel { color: #222222; }\n"
      "#Panel1 { background: transparent; }\n"
      "QListView { selection-color: #FFFFFF; selection-background-color: #316AC5; }\n"
      "QScrollBar::handle:vertical { background: #999999; }\n"
      "QPushButton:disabled { color: #AAAAAA; background: #EEEEEE; }\n"
      "QCheckBox, QCheckBox::indicator { color: #333333; }\n";
  const auto pairs = SheetColourPairs(sheet, 0x010101, 0xF0F0F0);
  ASSERT_EQ(pairs.size(), 6u);
  EXPECT_EQ(pairs[0].text, 0x111111u);
  EXPECT_EQ(pairs[0].background, 0xFFFFFFu);
  EXPECT_EQ(pairs[1].background, 0xAABBCCu);  // #RGB, second stop of the gradient
  EXPECT_EQ(pairs[2].text, 0x222222u);        // no background: the window shows through
  EXPECT_EQ(pairs[2].background, 0xF0F0F0u);
  EXPECT_EQ(pairs[3].text, 0x010101u);  // no colour: the window's text
  EXPECT_EQ(pairs[3].background, 0xF0F0F0u);
  EXPECT_EQ(pairs[4].selector, "QListView (selection)");
  EXPECT_EQ(pairs[4].background, 0x316AC5u);
  EXPECT_EQ(pairs[5].text, 0x333333u);  // the check box, not its indicator, carries text
}

TEST(SkinContrast, EverySkinIsReadable) {
  for (int n = 0; n < kStyleCount; ++n) {
    const StyleColours& c = Styles()[n].colours;
    const std::string sheet = readSkin(n);
    ASSERT_FALSE(sheet.empty()) << "skin " << n;
    std::vector<ColourPair> pairs = SheetColourPairs(sheet, c.text, c.window);
    // The sheet styles every kind of control with text.
    EXPECT_GE(pairs.size(), 30u) << "skin " << n;
    pairs.push_back({"palette window", c.text, c.window});
    pairs.push_back({"palette panel", c.text, c.panel});
    pairs.push_back({"palette base", c.text, c.base});
    pairs.push_back({"palette button", c.buttonText, c.button});
    pairs.push_back({"palette highlight", c.accentText, c.accent});
    for (const ColourPair& p : pairs)
      EXPECT_GE(ContrastRatio(p.text, p.background), 4.5)
          << "skin " << n << ": " << p.selector << std::hex << " text " << p.text << " on " << p.background;
  }
}
