#include "resources/EmbeddedResources.h"

#include "graphics/svg/SVGParser.h"

#include <gtest/gtest.h>

#include <string>

using qm::resources::FindEmbeddedResource;

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

TEST(EmbeddedResources, FileNamesAsTheEditorPassesThemFindTheSameResource)
{
  EXPECT_EQ(FindEmbeddedResource("Roboto-Regular.ttf", "ttf"),
            FindEmbeddedResource("ROBOTO-REGULAR.TTF", "TTF"));
  EXPECT_EQ(FindEmbeddedResource("neuropol-x-rg.ttf", "TTF"),
            FindEmbeddedResource("NEUROPOL-X-RG.TTF", "TTF"));
  EXPECT_NE(FindEmbeddedResource("Quillmarsh_Logo_360x120.svg", "SVG"), nullptr);
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
