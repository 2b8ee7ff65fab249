#pragma once

#include <cstdint>

namespace kit
{

// Packs four characters big-endian into an int, the way hosts show plug-in and vendor IDs.
constexpr int FourCharCode(const char (&code)[5])
{
  return static_cast<int>((static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) << 24) |
                          (static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 16) |
                          (static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 8) |
                          static_cast<std::uint32_t>(static_cast<unsigned char>(code[3])));
}

// Packs a version as major << 16 | minor << 8 | patch.
constexpr int PackVersion(int major, int minor, int patch)
{
  return (major << 16) | ((minor & 0xff) << 8) | (patch & 0xff);
}

enum EPlugType
{
  kEffect = 0,
  kInstrument = 1
};

// Everything a plug-in tells the framework about itself, fixed at build time and handed to every
// framework base at construction. Texts point at string literals that outlive the plug-in.
struct Config
{
  int nParams = 0;
  int nPresets = 1;
  const char* channelIOStr = "";
  const char* pluginName = "";
  const char* productName = "";
  const char* mfrName = "";
  int vendorVersion = 0;
  int uniqueID = 0;
  int mfrID = 0;
  int latency = 0;
  bool plugDoesMidiIn = false;
  bool plugDoesMidiOut = false;
  bool plugDoesMPE = false;
  bool plugDoesChunks = true;
  int plugType = kEffect;
  bool plugHasUI = false;
  int plugWidth = 0;
  int plugHeight = 0;
  int plugMinWidth = 0; // the width limits as configured; the plug-in base orders each pair
  int plugMaxWidth = 0;
  int plugMinHeight = 0;
  int plugMaxHeight = 0;
  bool plugHostResize = false;
  const char* bundleID = "";
};

} // namespace kit
