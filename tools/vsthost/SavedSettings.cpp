#include "tools/vsthost/SavedSettings.h"

#include <nlohmann/json.hpp>

#include <cstdint>

namespace vsthost
{

std::map<std::string, double> SavedSettings(kit::vst2::AEffect* plugin)
{
  void* data = nullptr;
  const kit::vst2::VstIntPtr size =
      plugin->dispatcher(plugin, kit::vst2::effGetChunk, 1, 0, &data, 0.f);
  if (size <= 8 || !data) return {};
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  const nlohmann::json map =
      nlohmann::json::from_msgpack(bytes + 8, bytes + size, true, /* allow_exceptions */ false);
  if (!map.is_object()) return {};
  std::map<std::string, double> settings;
  for (const auto& [name, value] : map.items())
  {
    if (value.is_boolean())
      settings[name] = value.get<bool>() ? 1.0 : 0.0;
    else if (value.is_number())
      settings[name] = value.get<double>();
    else
      return {};
  }
  return settings;
}

} // namespace vsthost
