#include "graphics/FontNameTable.h"
#include "resources/EmbeddedResources.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kit::gfx;

namespace
{

std::span<const uint8_t> Embedded(const char* name)
{
  const auto* res = qm::resources::FindEmbeddedResource(name, "TTF");
  if (!res) return {};
  return {res->data.data(), res->data.size()};
}

} // namespace

TEST(FontFaceNamesFromBytes, ReadsFamilyAndRegularStyleOfTheDefaultFont)
{
  const auto bytes = Embedded("ROBOTO-REGULAR.TTF");
  ASSERT_FALSE(bytes.empty());
  FontFaceNames names;
  ASSERT_TRUE(ReadFontFaceNames(bytes, names));
  EXPECT_EQ(names.family, "Roboto");
  EXPECT_EQ(names.style, "Regular");
  EXPECT_EQ(names.Weight(), 400);
  EXPECT_FALSE(names.IsItalic());
}

TEST(FontFaceNamesFromBytes, TruncatedOrForeignDataFailsWithoutReadingPastTheEnd)
{
  const auto bytes = Embedded("ROBOTO-REGULAR.TTF");
  ASSERT_GT(bytes.size(), 400u);
  FontFaceNames names;
  // Every prefix either parses or fails; none may read outside its bytes
  // (the sanitizer build catches overreads).
  for (size_t n : {size_t{0}, size_t{4}, size_t{11}, size_t{12}, size_t{100}, size_t{300}})
  {
    std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + n);
    EXPECT_FALSE(ReadFontFaceNames(prefix, names)) << n;
  }
  const std::vector<uint8_t> svg = {'<', 's', 'v', 'g', ' ', 'x', '=', '"', '1', '"', '/', '>'};
  EXPECT_FALSE(ReadFontFaceNames(svg, names));
}
