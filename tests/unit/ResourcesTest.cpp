#include "graphics/FontNameTable.h"
#include "graphics/svg/SVGParser.h"
#include "resources/EmbeddedResources.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using qm::resources::FindEmbeddedResource;
using namespace kit::gfx;

namespace
{

uint32_t BigEndian32(const unsigned char* p)
{
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

// A TrueType file starts with the sfnt version 0x00010000 (or 'true') and a
// table directory; checking it proves a real font was embedded, not a stub.
bool LooksLikeTrueType(const qm::resources::EmbeddedResource& r)
{
  if (r.data.size() < 12) return false;
  const uint32_t version = BigEndian32(r.data.data());
  const unsigned tables = (unsigned(r.data[4]) << 8) | r.data[5];
  return (version == 0x00010000u || version == 0x74727565u) && tables > 0 &&
         r.data.size() >= 12 + 16 * tables;
}

} // namespace

TEST(EmbeddedResources, EveryFontTheEditorLoadsIsATrueTypeFontUnderItsUpperCasedName)
{
  for (const char* name :
       {"ROBOTO-REGULAR.TTF", "NEUROPOL-X-RG.TTF", "ABEL-REGULAR.TTF", "FORKAWESOME-WEBFONT.TTF"})
  {
    const auto* r = FindEmbeddedResource(name, "TTF");
    ASSERT_NE(r, nullptr) << name;
    EXPECT_TRUE(LooksLikeTrueType(*r)) << name;
    EXPECT_GT(r->data.size(), 10000u) << name;
  }
}

TEST(EmbeddedResources, LogoIsZeroTerminatedShapesOnlySvgWithAThreeToOneArea)
{
  const auto* r = FindEmbeddedResource("QUILLMARSH_LOGO_360X120.SVG", "SVG");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->data.data()[r->data.size()], 0);
  const std::string text(reinterpret_cast<const char*>(r->data.data()), r->data.size());
  EXPECT_EQ(text.find("<text"), std::string::npos);
  EXPECT_EQ(text.find("<image"), std::string::npos);

  kit::gfx::svg::Image image;
  std::string error;
  ASSERT_TRUE(kit::gfx::svg::ParseSVG(text, "px", 72.f, image, &error)) << error;
  EXPECT_FLOAT_EQ(image.width, 360.f);
  EXPECT_FLOAT_EQ(image.height, 120.f);
  EXPECT_GE(image.shapes.size(), 5u);
}

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
