// Randomised robustness: thousands of mutated and generated documents must
// either load into a well-formed image or fail with a message, never crash,
// hang or produce coordinates a renderer cannot use. Runs under ASan+UBSan.

#include "graphics/svg/SVGParser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

using namespace kit::gfx::svg;

namespace
{

const std::vector<std::string> kSeeds = {
    R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="360" height="120" viewBox="0 0 360 120">
  <defs><linearGradient id="w" x1="0" y1="0" x2="1" y2="0" gradientTransform="rotate(20)">
  <stop offset="0" stop-color="#26a69a"/><stop offset="1" stop-color="#1e88e5"/></linearGradient>
  <radialGradient id="r" href="#w" cx="0.4" r="0.7" spreadMethod="repeat"/></defs>
  <circle cx="60" cy="60" r="54" fill="url(#r)" stroke="#000" stroke-dasharray="3 1"/>
  <path d="M96 18 C70 22 44 48 38 86 S88 58 96 18 Z m5 5 q3 4 5 5 t 4 4 a5 3 30 1 0 10 10 z" fill="#fff"/>
  <g transform="matrix(1 0 0.2 1 3 4) skewY(5)" style="stroke:blue;opacity:.5">
  <rect x="126" y="112" width="224" height="4" rx="2" fill="url(#w) red"/>
  <polygon points="1,2 3,4 5,6"/><polyline points="1 2 3 4"/><line x1="0" x2="5"/>
  <ellipse cx="5" cy="5" rx="3"/></g></svg>)svg",
    R"svg(<?xml version="1.0"?><!DOCTYPE svg><svg width="10mm" height="1in"><g><g><g>
  <path d="M0,0h10v10h-10z M2 2 l6 0 0 6 -6 0z" fill-rule="evenodd"/></g></g></g>
  <![CDATA[ <g> ]]><!-- <g> --></svg>)svg",
};

// Fragments the mutator and the generator splice in, separated by '|'; a NUL byte too.
std::vector<std::string> Tokens()
{
  const std::string all = "<g>|</g>|<g transform=\"scale(1e30)\">|<path d=\"|\"/>|<rect |<circle "
                          "r=\"|M|m|L|C|S|Q|T|A|a|Z|z|H|V| "
                          "|,|-|.|e|1e308|1e-308|-0|99999999999999999999|0.5|1|0|NaN|inf|url(#w)|"
                          "url(#|#|\"|'|<|>|/>|<!--|-->|<![CDATA[|]]>|&amp;|&#|<?|?>|<!DOCTYPE "
                          "[|]|=|style=\"|;|:|fill|stroke-width|%|rotate(|)|(|href=\"#r\"|<stop "
                          "offset=\"|<linearGradient id=\"w\">|</linearGradient>|viewBox=\"0 0 0 "
                          "0\"|width=\"-1\"|preserveAspectRatio=\"x\"|\xff\xfe|\t\n";
  std::vector<std::string> tokens{std::string(1, '\0')};
  for (size_t start = 0, end = 0; end != std::string::npos; start = end + 1)
  {
    end = all.find('|', start);
    tokens.push_back(all.substr(start, end == std::string::npos ? end : end - start));
  }
  return tokens;
}

const std::vector<std::string> kTokens = Tokens();

void CheckWellFormed(const Image& image)
{
  ASSERT_TRUE(image.width > 0.f && std::isfinite(image.width));
  ASSERT_TRUE(image.height > 0.f && std::isfinite(image.height));
  for (const Shape& shape : image.shapes)
  {
    ASSERT_FALSE(shape.paths.empty());
    ASSERT_TRUE(std::isfinite(shape.strokeWidth) && shape.strokeWidth >= 0.f);
    ASSERT_TRUE(shape.opacity >= 0.f && shape.opacity <= 1.f);
    ASSERT_LE(shape.dashes.size(), kMaxDashes);
    ASSERT_EQ(shape.dashes.size() % 2, 0u);
    for (const Paint* paint : {&shape.fill, &shape.stroke})
    {
      if (paint->type != PaintType::LinearGradient && paint->type != PaintType::RadialGradient)
        continue;
      ASSERT_GE(paint->gradient.stops.size(), 2u);
      for (size_t i = 1; i < paint->gradient.stops.size(); ++i)
        ASSERT_GE(paint->gradient.stops[i].offset, paint->gradient.stops[i - 1].offset);
    }
    for (const Path& path : shape.paths)
    {
      ASSERT_GE(path.points.size(), 4u);
      ASSERT_EQ((path.points.size() - 1) % 3, 0u);
      for (const Point& p : path.points)
        ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    }
  }
}

std::string Mutate(std::string doc, std::mt19937& rng)
{
  const int edits = 1 + int(rng() % 4);
  for (int e = 0; e < edits; ++e)
  {
    const size_t at = doc.empty() ? 0 : rng() % doc.size();
    switch (rng() % 5)
    {
    case 0:
      if (!doc.empty()) doc[at] = char(rng() % 256);
      break;
    case 1:
      doc.insert(at, kTokens[rng() % kTokens.size()]);
      break;
    case 2:
      doc.erase(at, rng() % 16);
      break;
    case 3:
    {
      const size_t len = std::min<size_t>(rng() % 64, doc.size() - at);
      doc.insert(rng() % (doc.size() + 1), doc.substr(at, len));
      break;
    }
    case 4:
      doc.resize(at);
      break;
    }
  }
  return doc;
}

std::string Generate(std::mt19937& rng)
{
  std::string doc = "<svg width=\"100\" height=\"100\">";
  const int n = int(rng() % 60);
  for (int i = 0; i < n; ++i)
    doc += kTokens[rng() % kTokens.size()];
  return doc + "</svg>";
}

} // namespace

TEST(SVGParserFuzz, SeedsLoad)
{
  for (const std::string& seed : kSeeds)
  {
    Image image;
    std::string error;
    ASSERT_TRUE(ParseSVG(seed, "px", 96.f, image, &error)) << error;
    CheckWellFormed(image);
  }
}

TEST(SVGParserFuzz, MutatedAndRandomDocumentsLoadOrFailCleanly)
{
  std::mt19937 rng(20261206);
  int loaded = 0, failed = 0;
  for (int i = 0; i < 6000; ++i)
  {
    const std::string doc =
        i % 3 == 2 ? Generate(rng) : Mutate(kSeeds[size_t(i) % kSeeds.size()], rng);
    Image image;
    std::string error;
    if (ParseSVG(doc, i % 7 == 0 ? "pt" : "px", 72.f, image, &error))
    {
      ++loaded;
      CheckWellFormed(image);
      if (HasFatalFailure())
      {
        ADD_FAILURE() << "document " << i << ":\n" << doc;
        return;
      }
    }
    else
    {
      ++failed;
      ASSERT_FALSE(error.empty());
      ASSERT_TRUE(image.shapes.empty());
    }
  }
  // Both outcomes must really occur, or the mutations test nothing.
  EXPECT_GT(loaded, 500);
  EXPECT_GT(failed, 500);
}
