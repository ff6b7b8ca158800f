#include "simulator/views/text_print.h"

#include <gtest/gtest.h>

#include "common/recording_canvas.h"

namespace tolvek {
namespace {

TEST(TextPrint, PagesHold78LinesThenStartAtTheTop) {
  std::vector<std::string> lines;
  for (int i = 1; i <= 79; ++i) lines.push_back("line " + std::to_string(i));
  const auto pages = LayOutTextPages(lines);
  ASSERT_EQ(pages.size(), 2u);
  ASSERT_EQ(pages[0].size(), 78u);
  EXPECT_EQ(pages[0].front().y, -174);
  EXPECT_EQ(pages[0].back().y, -2792);
  ASSERT_EQ(pages[1].size(), 1u);
  EXPECT_EQ(pages[1][0].y, -140);
  EXPECT_EQ(pages[1][0].text, "line 79");
  // a later page takes one line more than the first: from -140 down to -2792
  lines.resize(78 + 80);
  EXPECT_EQ(LayOutTextPages(lines)[1].size(), 79u);
  EXPECT_EQ(LayOutTextPages(lines).size(), 3u);
}

TEST(TextPrint, PageIsCourierAtTheLeftMargin) {
  RecordingCanvas c;
  DrawTextPage(c, LayOutTextPages({"a", "b"})[0]);
  const auto fonts = c.OfKind(DrawCommand::Kind::Font);
  ASSERT_EQ(fonts.size(), 1u);
  EXPECT_EQ(fonts[0]->text, "Courier new");
  EXPECT_EQ(fonts[0]->v[0], 36);
  const auto texts = c.OfKind(DrawCommand::Kind::Text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1]->v, (std::vector<int>{160, -208}));
}

TEST(TextPrint, EmptyFilePrintsOneEmptyPage) {
  const auto pages = LayOutTextPages({});
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_TRUE(pages[0].empty());
}

}  // namespace
}  // namespace tolvek
