// Fonts, bitmaps and SVGs of GraphicsContext, and the process-wide caches that let a reopened
// editor skip decoding and parsing again. Several editors may exist at once, so each cache has a
// lock; the caches are emptied when the last graphics context goes away.

#include "graphics/GraphicsContext.h"

#include "graphics/svg/SVGImage.h"
#include "graphics/svg/SVGParser.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <mutex>

namespace kit::gfx
{

namespace
{

struct BitmapCache
{
  std::mutex mutex;
  std::unordered_map<std::string, std::unique_ptr<APIBitmap>> entries;
};

struct SVGCache
{
  std::mutex mutex;
  std::unordered_map<std::string, std::shared_ptr<const svg::Image>> entries;
};

struct Caches
{
  std::mutex countMutex;
  int liveContexts = 0;
  BitmapCache bitmaps;
  SVGCache svgs;
};

Caches& GetCaches()
{
  static Caches caches;
  return caches;
}

std::string CacheKey(const char* name, float scale)
{
  char suffix[32];
  std::snprintf(suffix, sizeof(suffix), "-%.1fx", scale);
  return std::string(name) + suffix;
}

std::string LowerExtension(const std::string& name)
{
  const auto dot = name.find_last_of('.');
  if (dot == std::string::npos) return {};
  std::string ext = name.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

/** "knob.png" at scale 2 becomes "knob@2x.png". */
std::string ScaledName(const std::string& name, int scale)
{
  if (scale <= 1) return name;
  const auto dot = name.find_last_of('.');
  const std::string base = dot == std::string::npos ? name : name.substr(0, dot);
  const std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
  char buf[1024];
  std::snprintf(buf, sizeof(buf), "%s@%dx%s", base.c_str(), scale, ext.c_str());
  return buf;
}

} // namespace

namespace detail
{

void RetainResourceCaches()
{
  Caches& caches = GetCaches();
  std::lock_guard lock(caches.countMutex);
  ++caches.liveContexts;
}

void ReleaseResourceCaches()
{
  Caches& caches = GetCaches();
  std::lock_guard lock(caches.countMutex);
  if (--caches.liveContexts > 0) return;
  caches.liveContexts = 0;
  {
    std::lock_guard bitmapLock(caches.bitmaps.mutex);
    caches.bitmaps.entries.clear();
  }
  std::lock_guard svgLock(caches.svgs.mutex);
  caches.svgs.entries.clear();
}

} // namespace detail

std::vector<uint8_t> GraphicsContext::ReadFile(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> GraphicsContext::LoadResourceData(const char* fileNameOrResID,
                                                       const char* /*ext*/)
{
  if (!fileNameOrResID) return {};
  return ReadFile(fileNameOrResID);
}

EResourceLocation GraphicsContext::LocateResource(const char* fileNameOrResID, const char* /*ext*/,
                                                  std::string& result)
{
  if (!fileNameOrResID || !std::ifstream(fileNameOrResID, std::ios::binary))
    return EResourceLocation::NotFound;
  result = fileNameOrResID;
  return EResourceLocation::AbsolutePath;
}

bool GraphicsContext::LoadFont(const char* fontID, const char* fileNameOrResID)
{
  if (!fontID || !fileNameOrResID) return false;
  PlatformFontPtr font = LoadPlatformFont(fontID, fileNameOrResID);
  if (!font) return false;
  if (!LoadAPIFont(fontID, font)) return false;
  CachePlatformFont(fontID, font);
  return true;
}

IBitmap GraphicsContext::LoadBitmap(const char* fileNameOrResID, int nStates,
                                    bool framesAreHorizontal, int targetScale)
{
  if (!fileNameOrResID) return {};
  const int scale = targetScale > 0
                        ? targetScale
                        : std::max(1, static_cast<int>(std::lround(GetBackingPixelScale())));
  const std::string key = CacheKey(fileNameOrResID, static_cast<float>(scale));

  BitmapCache& cache = GetCaches().bitmaps;
  std::lock_guard lock(cache.mutex);
  if (const auto it = cache.entries.find(key); it != cache.entries.end())
    return IBitmap(it->second.get(), nStates, framesAreHorizontal, fileNameOrResID);

  const std::string name = fileNameOrResID;
  const std::string ext = LowerExtension(name);
  if (!BitmapExtSupported(ext.c_str())) return {};

  // The best match for the target scale, falling back to lower resolutions.
  for (int s = scale; s >= 1; --s)
  {
    std::string location;
    const EResourceLocation where =
        LocateResource(ScaledName(name, s).c_str(), ext.c_str(), location);
    if (where == EResourceLocation::NotFound) continue;
    std::unique_ptr<APIBitmap> bitmap(LoadAPIBitmap(location.c_str(), s, where, ext.c_str()));
    if (!bitmap || bitmap->GetWidth() <= 0) return {};
    APIBitmap* pBitmap = bitmap.get();
    cache.entries.emplace(key, std::move(bitmap));
    return IBitmap(pBitmap, nStates, framesAreHorizontal, fileNameOrResID);
  }
  return {};
}

ISVG GraphicsContext::LoadSVG(const char* fileNameOrResID, const char* units, float dpi)
{
  if (!fileNameOrResID) return {};
  if (!units) units = "px";
  // The parse depends on units and resolution, so they are part of the key.
  char detail[64];
  std::snprintf(detail, sizeof(detail), ":%s@%g", units, static_cast<double>(dpi));
  const std::string key = CacheKey(fileNameOrResID, 1.f) + detail;

  SVGCache& cache = GetCaches().svgs;
  std::lock_guard lock(cache.mutex);
  if (const auto it = cache.entries.find(key); it != cache.entries.end()) return ISVG(it->second);

  const std::vector<uint8_t> data = LoadResourceData(fileNameOrResID, "svg");
  if (data.empty()) return {};
  auto image = std::make_shared<svg::Image>();
  const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
  if (!svg::ParseSVG(text, units, dpi, *image)) return {};
  std::shared_ptr<const svg::Image> shared = std::move(image);
  cache.entries.emplace(key, shared);
  return ISVG(std::move(shared));
}

} // namespace kit::gfx
