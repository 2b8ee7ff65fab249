#include "framework/PluginHost.h"

#include <cctype>
#include <string_view>

namespace kit
{

namespace
{

struct HostWord
{
  const char* word;
  EHost host;
};

constexpr HostWord kHostWords[] = {
    {"reaper", kHostReaper},
    {"protools", kHostProTools},
    {"cubase", kHostCubase},
    {"nuendo", kHostNuendo},
    {"cakewalk", kHostSonar},
    {"vegas", kHostVegas},
    {"fruity", kHostFL},
    {"samplitude", kHostSamplitude},
    {"live", kHostAbletonLive},
    {"tracktion", kHostTracktion},
    {"ntracks", kHostNTracks},
    {"melodyne", kHostMelodyneStudio},
    {"vstmanlib", kHostVSTScanner},
    {"aulab", kHostAULab},
    {"forte", kHostForte},
    {"chainer", kHostChainer},
    {"audition", kHostAudition},
    {"orion", kHostOrion},
    {"bias", kHostBias},
    {"sawstudio", kHostSAWStudio},
    {"logic", kHostLogic},
    {"garageband", kHostGarageBand},
    {"digital", kHostDigitalPerformer},
    {"audiomulch", kHostAudioMulch},
    {"presonus", kHostStudioOne},
    {"vst3plugintesthost", kHostVST3TestHost},
    {"ardour", kHostArdour},
    {"renoise", kHostRenoise},
    {"openmpt", kHostOpenMPT},
    {"wavelab elements", kHostWaveLabElements},
    {"wavelab", kHostWaveLab},
    {"twistedwave", kHostTwistedWave},
    {"bitwig studio", kHostBitwig},
    {"reason", kHostReason},
    {"gwvst", kHostGoldWave5x},
    {"waveform", kHostWaveform},
    {"audacity", kHostAudacity},
    {"acoustica", kHostAcoustica},
    {"plugindoctor", kHostPluginDoctor},
    {"izotope rx", kHostiZotopeRX},
    {"savihost", kHostSAVIHost},
    {"blue cat's vst host", kHostBlueCat},
    {"standalone", kHostStandalone},
    {"www", kHostWWW},
};

} // namespace

EHost IdentifyHost(const char* name)
{
  if (name == nullptr) return kHostUnknown;

  char lower[kMaxHostNameLen + 1];
  int length = 0;
  for (; length < kMaxHostNameLen && name[length] != '\0'; ++length)
    lower[length] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[length])));
  lower[length] = '\0';

  const std::string_view text(lower, static_cast<size_t>(length));
  for (const HostWord& entry : kHostWords)
  {
    if (text.find(entry.word) != std::string_view::npos) return entry.host;
  }
  return kHostUnknown;
}

} // namespace kit
