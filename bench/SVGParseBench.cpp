// Loading the logo happens once per editor opening; this keeps the parser's
// cost visible next to a baseline of copying the same text.

#include "graphics/svg/SVGParser.h"
#include "resources/EmbeddedResources.h"

#include <benchmark/benchmark.h>

#include <string>

namespace
{

std::string LogoText()
{
  const auto* logo = qm::resources::FindEmbeddedResource("Quillmarsh_Logo_360x120.svg", "SVG");
  return logo ? std::string(reinterpret_cast<const char*>(logo->data.data()), logo->data.size())
              : std::string();
}

void BM_SVGCopyLogoBaseline(benchmark::State& state)
{
  const std::string text = LogoText();
  for (auto _ : state)
  {
    std::string copy = text;
    benchmark::DoNotOptimize(copy.data());
  }
}
BENCHMARK(BM_SVGCopyLogoBaseline);

void BM_SVGParseLogo(benchmark::State& state)
{
  const std::string text = LogoText();
  for (auto _ : state)
  {
    kit::gfx::svg::Image image;
    const bool ok = kit::gfx::svg::ParseSVG(text, "px", 72.f, image);
    benchmark::DoNotOptimize(ok);
    if (!ok) state.SkipWithError("logo failed to parse");
  }
}
BENCHMARK(BM_SVGParseLogo);

} // namespace
