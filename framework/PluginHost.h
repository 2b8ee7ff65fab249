#pragma once

// Host identification from the product name a host reports.

namespace kit
{

enum EHost
{
  kHostUninit = -1,
  kHostUnknown = 0,
  kHostReaper,
  kHostProTools,
  kHostCubase,
  kHostNuendo,
  kHostSonar,
  kHostVegas,
  kHostFL,
  kHostSamplitude,
  kHostAbletonLive,
  kHostTracktion,
  kHostNTracks,
  kHostMelodyneStudio,
  kHostVSTScanner,
  kHostAULab,
  kHostForte,
  kHostChainer,
  kHostAudition,
  kHostOrion,
  kHostBias,
  kHostSAWStudio,
  kHostLogic,
  kHostGarageBand,
  kHostDigitalPerformer,
  kHostStandalone,
  kHostAudioMulch,
  kHostStudioOne,
  kHostVST3TestHost,
  kHostArdour,
  kHostRenoise,
  kHostOpenMPT,
  kHostWaveLab,
  kHostWaveLabElements,
  kHostTwistedWave,
  kHostBitwig,
  kHostWWW,
  kHostReason,
  kHostGoldWave5x,
  kHostWaveform,
  kHostAudacity,
  kHostAcoustica,
  kHostPluginDoctor,
  kHostiZotopeRX,
  kHostSAVIHost,
  kHostBlueCat,
};

// The longest host name looked at; VST2 hosts report at most 64 characters.
constexpr int kMaxHostNameLen = 256;

// Lower-cases (a bounded copy of) the name and returns the id of the first
// word of the table that it contains; kHostUnknown when none matches. Order
// matters: "wavelab elements" is tested before "wavelab", and "live" matches
// anywhere once the earlier words have failed.
EHost IdentifyHost(const char* name);

} // namespace kit
