#include "plugin/Settings.h"

#include "plugin/BeatWindow.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace qm::Trazelle
{

using json = nlohmann::json;

namespace
{

// The blob is a flat map; anything nested deeper than this is not ours, and refusing it early keeps
// the decoder's recursion (and the stack) bounded for hostile input.
constexpr int kMaxBlobDepth = 8;

class BoundedDomParser : public nlohmann::detail::json_sax_dom_parser<json>
{
  using Base = nlohmann::detail::json_sax_dom_parser<json>;

public:
  explicit BoundedDomParser(json& result) : Base(result, true) {}

  bool start_object(std::size_t n) { return Enter() && Base::start_object(n); }
  bool end_object()
  {
    --mDepth;
    return Base::end_object();
  }
  bool start_array(std::size_t n) { return Enter() && Base::start_array(n); }
  bool end_array()
  {
    --mDepth;
    return Base::end_array();
  }

private:
  bool Enter() { return ++mDepth <= kMaxBlobDepth; }
  int mDepth = 0;
};

// A stored double: any number. NaN keeps the field's default; the rest is clamped into [0, 1].
std::optional<double> ReadUnitDouble(const json& value, double fallback)
{
  if (!value.is_number()) return std::nullopt;
  const double x = value.get<double>();
  if (std::isnan(x)) return fallback;
  return std::clamp(x, 0.0, 1.0);
}

// A stored integer: any number, floats truncated toward zero; booleans only where allowed. The
// result is clamped into [0, last] so that it can index the editor's tables.
std::optional<int> ReadIndex(const json& value, int last, int fallback, bool acceptBool)
{
  if (value.is_boolean())
  {
    if (!acceptBool) return std::nullopt;
    return std::min(value.get<bool>() ? 1 : 0, last);
  }
  if (value.is_number_unsigned())
    return static_cast<int>(std::min<std::uint64_t>(value.get<std::uint64_t>(), last));
  if (value.is_number_integer())
    return static_cast<int>(std::clamp<std::int64_t>(value.get<std::int64_t>(), 0, last));
  if (value.is_number_float())
  {
    const double x = value.get<double>();
    if (std::isnan(x)) return fallback;
    return static_cast<int>(std::clamp(std::trunc(x), 0.0, static_cast<double>(last)));
  }
  return std::nullopt;
}

} // namespace

double Settings::DefaultGain()
{
  static const double gain = std::pow(0.009009009009009009, 0.23255813953488372);
  return gain;
}

void WriteSettingsBlob(const Settings& settings, std::vector<std::uint8_t>& bytes)
{
  json blob = json::object();
  blob["channel"] = static_cast<int>(settings.channel);
  blob["envelope_mode_duration"] = settings.envelope_mode_duration;
  blob["gain"] = settings.gain;
  blob["mode"] = static_cast<int>(settings.mode);
  blob["scale"] = settings.scale;
  blob["theme"] = settings.theme;
  blob["version"] = Settings::kBlobVersion;
  blob["waveform_mode_duration"] = settings.waveform_mode_duration;
  const Settings defaults;
  if (settings.sync != defaults.sync) blob["sync"] = settings.sync;
  if (settings.beats != defaults.beats) blob["beats"] = settings.beats;
  json::to_msgpack(blob, nlohmann::detail::output_adapter<std::uint8_t>(bytes));
}

bool ReadSettingsBlob(std::span<const std::uint8_t> blob, Settings& settings)
{
  if (blob.empty() || blob.size() > kMaxSettingsBlobSize) return false;
  try
  {
    json root;
    BoundedDomParser parser(root);
    if (!json::sax_parse(blob.begin(), blob.end(), &parser, nlohmann::json::input_format_t::msgpack,
                         true))
      return false;
    if (!root.is_object()) return false;

    const Settings defaults;
    const auto gain = ReadUnitDouble(root.at("gain"), defaults.gain);
    const auto envelope =
        ReadUnitDouble(root.at("envelope_mode_duration"), defaults.envelope_mode_duration);
    const auto waveform =
        ReadUnitDouble(root.at("waveform_mode_duration"), defaults.waveform_mode_duration);
    const auto mode = ReadIndex(root.at("mode"), kEnvelopeMode, defaults.mode, false);
    const auto channel = ReadIndex(root.at("channel"), kRightChannel, defaults.channel, false);
    const auto theme = ReadIndex(root.at("theme"), Settings::kNumThemes - 1, defaults.theme, true);
    const auto scale = ReadIndex(root.at("scale"), Settings::kNumScales - 1, defaults.scale, true);
    if (!gain || !envelope || !waveform || !mode || !channel || !theme || !scale) return false;

    // Absent from blobs of older versions, and from any blob whose values are the defaults.
    std::optional<int> sync = defaults.sync ? 1 : 0;
    if (const auto it = root.find("sync"); it != root.end())
      sync = ReadIndex(*it, 1, defaults.sync ? 1 : 0, true);
    double storedBeats = defaults.beats;
    if (const auto it = root.find("beats"); it != root.end())
    {
      if (!it->is_number()) return false;
      storedBeats = beats::Snap(it->get<double>());
    }
    if (!sync) return false;

    Settings loaded;
    loaded.gain = *gain;
    loaded.envelope_mode_duration = *envelope;
    loaded.waveform_mode_duration = *waveform;
    loaded.mode = static_cast<EDisplayMode>(*mode);
    loaded.channel = static_cast<EDisplayChannel>(*channel);
    loaded.theme = *theme;
    loaded.scale = *scale;
    loaded.sync = *sync != 0;
    loaded.beats = storedBeats;
    settings = loaded;
    return true;
  }
  catch (...)
  {
    return false;
  }
}

} // namespace qm::Trazelle
