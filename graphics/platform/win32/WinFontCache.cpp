#include "graphics/platform/win32/WinFontCache.h"

#include <map>
#include <mutex>

namespace kit::gfx
{
namespace
{

struct Cache
{
  std::mutex lock;
  int users = 0;
  std::map<std::string, std::shared_ptr<WinFont>> fonts;
};

Cache& TheCache()
{
  static Cache cache;
  return cache;
}

} // namespace

void WinFontCache::Retain()
{
  std::lock_guard guard(TheCache().lock);
  ++TheCache().users;
}

void WinFontCache::Release()
{
  Cache& cache = TheCache();
  std::lock_guard guard(cache.lock);
  if (--cache.users > 0) return;
  cache.users = 0;
  for (auto& [key, font] : cache.fonts)
    if (font->memoryFont) RemoveFontMemResourceEx(font->memoryFont);
  cache.fonts.clear();
}

std::shared_ptr<const WinFont> WinFontCache::Find(const std::string& key)
{
  Cache& cache = TheCache();
  std::lock_guard guard(cache.lock);
  const auto it = cache.fonts.find(key);
  return it == cache.fonts.end() ? nullptr : it->second;
}

std::shared_ptr<const WinFont> WinFontCache::FindByFontID(const std::string& fontID)
{
  Cache& cache = TheCache();
  std::lock_guard guard(cache.lock);
  const auto it = cache.fonts.lower_bound(fontID + "-");
  if (it == cache.fonts.end() || it->first.compare(0, fontID.size() + 1, fontID + "-") != 0)
    return nullptr;
  return it->second;
}

std::shared_ptr<const WinFont> WinFontCache::Add(const std::string& key, std::vector<uint8_t> bytes)
{
  auto font = std::make_shared<WinFont>();
  if (!ReadFontFaceNames(bytes, font->names)) return nullptr;
  DWORD installed = 0;
  font->memoryFont =
      AddFontMemResourceEx(bytes.data(), static_cast<DWORD>(bytes.size()), nullptr, &installed);
  font->bytes = std::move(bytes);

  Cache& cache = TheCache();
  std::lock_guard guard(cache.lock);
  auto [it, inserted] = cache.fonts.emplace(key, font);
  if (!inserted && font->memoryFont) RemoveFontMemResourceEx(font->memoryFont);
  return it->second;
}

} // namespace kit::gfx
