// trazelle_vsthost PLUGIN: loads the plug-in binary as a host does and checks
// it through the exported VST 2.4 interface only. Every failed check is
// printed; the closing line is "N passed, M failed" and the exit status is
// non-zero when anything failed.

#include "framework/VST2Interface.h"
#include "tools/vsthost/EditorRun.h"
#include "tools/vsthost/PluginLibrary.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

using namespace kit::vst2;

namespace
{

int gPassed = 0;
int gFailed = 0;

void Check(bool ok, const char* what)
{
  if (ok)
  {
    ++gPassed;
  }
  else
  {
    ++gFailed;
    std::printf("FAILED: %s\n", what);
  }
}

// What the scripted host answers, and what it was asked.
struct HostScript
{
  std::string productString = "WaveLab Elements 10";
  VstIntPtr vendorVersion = 1000;
  VstTimeInfo timeInfo{};
  VstIntPtr processLevel = kVstProcessLevelRealtime;
  std::map<VstInt32, int> calls;
  VstIntPtr lastTimeMask = 0;
};

HostScript gHost;

VstIntPtr HostCallback(AEffect* /*effect*/, VstInt32 opcode, VstInt32 /*index*/, VstIntPtr value,
                       void* ptr, float /*opt*/)
{
  ++gHost.calls[opcode];
  switch (opcode)
  {
  case audioMasterVersion:
    return kVstVersion;
  case audioMasterGetProductString:
    if (ptr != nullptr)
      std::snprintf(static_cast<char*>(ptr), kVstMaxProductStrLen, "%s",
                    gHost.productString.c_str());
    return 1;
  case audioMasterGetVendorVersion:
    return gHost.vendorVersion;
  case audioMasterGetTime:
    gHost.lastTimeMask = value;
    return reinterpret_cast<VstIntPtr>(&gHost.timeInfo);
  case audioMasterGetCurrentProcessLevel:
    return gHost.processLevel;
  default:
    return 0;
  }
}

// The settings blob of the default state, as stored inside every chunk.
const std::vector<unsigned char> kDefaultBlob = {
    0x88, 0xa7, 0x63, 0x68, 0x61, 0x6e, 0x6e, 0x65, 0x6c, 0x00, 0xb6, 0x65, 0x6e, 0x76, 0x65, 0x6c,
    0x6f, 0x70, 0x65, 0x5f, 0x6d, 0x6f, 0x64, 0x65, 0x5f, 0x64, 0x75, 0x72, 0x61, 0x74, 0x69, 0x6f,
    0x6e, 0xcb, 0x3f, 0xdb, 0x6d, 0xb6, 0xdb, 0x6d, 0xb6, 0xdb, 0xa4, 0x67, 0x61, 0x69, 0x6e, 0xcb,
    0x3f, 0xd5, 0x67, 0xc8, 0xae, 0x21, 0x5e, 0x79, 0xa4, 0x6d, 0x6f, 0x64, 0x65, 0x01, 0xa5, 0x73,
    0x63, 0x61, 0x6c, 0x65, 0x02, 0xa5, 0x74, 0x68, 0x65, 0x6d, 0x65, 0x00, 0xa7, 0x76, 0x65, 0x72,
    0x73, 0x69, 0x6f, 0x6e, 0xce, 0x00, 0x01, 0x00, 0x00, 0xb6, 0x77, 0x61, 0x76, 0x65, 0x66, 0x6f,
    0x72, 0x6d, 0x5f, 0x6d, 0x6f, 0x64, 0x65, 0x5f, 0x64, 0x75, 0x72, 0x61, 0x74, 0x69, 0x6f, 0x6e,
    0xcb, 0x3f, 0xd9, 0x99, 0x99, 0x99, 0x99, 0x99, 0x9a};

const std::vector<unsigned char> kHeader = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};

std::vector<unsigned char> Concat(std::initializer_list<std::vector<unsigned char>> parts)
{
  std::vector<unsigned char> all;
  for (const auto& part : parts)
    all.insert(all.end(), part.begin(), part.end());
  return all;
}

// The default blob with "mode" 0 (waveform) and "theme" 3: same length, other state.
std::vector<unsigned char> ChangedBlob()
{
  std::vector<unsigned char> blob = kDefaultBlob;
  blob[61] = 0x00; // "mode" value
  blob[75] = 0x03; // "theme" value
  return blob;
}

class Instance
{
public:
  explicit Instance(vsthost::EntryPoint entry) : mEffect(entry(HostCallback)) {}
  ~Instance() { Close(); }
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  AEffect* operator->() const { return mEffect; }
  bool Valid() const { return mEffect != nullptr; }

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.f)
  {
    return mEffect->dispatcher(mEffect, opcode, index, value, ptr, opt);
  }

  void Start(float sampleRate = 44100.f, VstIntPtr blockSize = 512)
  {
    Dispatch(effOpen);
    Dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    Dispatch(effSetBlockSize, 0, blockSize);
    Dispatch(effMainsChanged, 0, 1);
  }

  std::vector<unsigned char> GetChunk(bool program)
  {
    void* data = nullptr;
    const VstIntPtr size = Dispatch(effGetChunk, program ? 1 : 0, 0, &data);
    if (size <= 0 || data == nullptr) return {};
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + size);
  }

  VstIntPtr SetChunk(bool program, const std::vector<unsigned char>& bytes)
  {
    std::vector<unsigned char> copy = bytes; // the host's buffer, not ours
    return Dispatch(effSetChunk, program ? 1 : 0, static_cast<VstIntPtr>(copy.size()), copy.data());
  }

  void Close()
  {
    if (mEffect != nullptr)
    {
      Dispatch(effMainsChanged, 0, 0);
      Dispatch(effClose);
      mEffect = nullptr;
    }
  }

private:
  AEffect* mEffect = nullptr;
};

std::string Text(VstInt32 opcode, Instance& plug, VstInt32 index = 0)
{
  char buffer[256];
  std::memset(buffer, 0x55, sizeof(buffer));
  plug.Dispatch(opcode, index, 0, buffer);
  buffer[sizeof(buffer) - 1] = '\0';
  return buffer;
}

void CheckRecord(Instance& plug)
{
  Check(plug->magic == kEffectMagic, "magic is 'VstP'");
  Check(plug->flags == 0x1031, "flags are 0x1031");
  Check(plug->numPrograms == 1, "one program");
  Check(plug->numParams == 0, "no parameters");
  Check(plug->numInputs == 2 && plug->numOutputs == 2, "two inputs and two outputs");
  Check(plug->uniqueID == FourCC('Q', 'm', 'T', 'z'), "unique ID 'QmTz'");
  Check(plug->version == 10000, "version 10000");
  Check(plug->initialDelay == 0, "no latency");
  Check(plug->ioRatio == 1.f, "ioRatio 1");
  Check(plug->processReplacing != nullptr && plug->processDoubleReplacing != nullptr &&
            plug->process != nullptr,
        "three process callbacks");
}

void CheckIdentity(Instance& plug)
{
  Check(Text(effGetEffectName, plug) == "Trazelle", "effect name");
  Check(Text(effGetVendorString, plug) == "Quillmarsh", "vendor string");
  Check(Text(effGetProductString, plug).empty(), "empty product string");
  Check(plug.Dispatch(effGetVendorVersion) == 10000, "vendor version 10000");
  Check(plug.Dispatch(effGetPlugCategory) == kPlugCategEffect, "category effect (1)");
  Check(plug.Dispatch(effGetVstVersion) == 2400, "VST version 2400");
  Check(plug.Dispatch(effIdentify) == 0x4E764566, "effIdentify 'NvEf'");
  Check(plug.Dispatch(effGetTailSize) == 0, "no tail");
  Check(plug.Dispatch(effGetProgram) == 0, "program 0");
  Check(Text(effGetProgramName, plug) == "Empty", "program name \"Empty\"");

  char name[kVstMaxProgNameLen];
  Check(plug.Dispatch(effGetProgramNameIndexed, 0, 0, name) == 1 && std::string(name) == "Empty",
        "program name indexed 0");
  Check(plug.Dispatch(effGetProgramNameIndexed, 3, 0, name) == 0 && name[0] == '\0',
        "program name indexed out of range is empty");
  Check(plug.Dispatch(effGetProgramNameIndexed, 0, 0, nullptr) == 0,
        "program name indexed with null ptr");

  // A long program name comes back cut to the ABI's 24 bytes, terminated.
  char longName[] = "A program name much longer than twenty-four bytes";
  plug.Dispatch(effSetProgramName, 0, 0, longName);
  char cut[64];
  std::memset(cut, 0x55, sizeof(cut));
  plug.Dispatch(effGetProgramName, 0, 0, cut);
  Check(std::strlen(cut) == kVstMaxProgNameLen - 1 && static_cast<unsigned char>(cut[24]) == 0x55,
        "program name cut to 24 bytes, nothing written past them");
  char empty[] = "Empty";
  plug.Dispatch(effSetProgramName, 0, 0, empty);

  ERect* rect = nullptr;
  Check(plug.Dispatch(effEditGetRect, 0, 0, &rect) == 1 && rect != nullptr && rect->right == 832 &&
            rect->bottom == 464 && rect->left == 0 && rect->top == 0,
        "editor rectangle 832 x 464");
}

void CheckCanDo(Instance& plug)
{
  auto canDo = [&plug](const char* text)
  { return plug.Dispatch(effCanDo, 0, 0, const_cast<char*>(text)); };
  Check(canDo("receiveVstTimeInfo") == 1, "canDo receiveVstTimeInfo");
  Check(canDo("receiveVstMidiEvent") == 0, "canDo receiveVstMidiEvent is 0");
  Check(canDo("receiveVstEvents") == 0, "canDo receiveVstEvents is 0");
  Check(canDo("sendVstMidiEvent") == 0, "canDo sendVstMidiEvent is 0");
  Check(canDo("hasCockosExtensions") == static_cast<VstIntPtr>(0xBEEF0000),
        "canDo hasCockosExtensions");
  Check(canDo("wantsChannelCountNotifications") == 1, "canDo wantsChannelCountNotifications");
  Check(canDo("bypass") == 0, "canDo of an unknown text is 0");
  Check(plug.Dispatch(effCanDo, 0, 0, nullptr) == 0, "canDo with null text");
  Check(plug.Dispatch(effVendorSpecific, 7, 0, nullptr, 0.5f) == 0,
        "vendor specific without a parameter answers 0");
}

void CheckPins(Instance& plug)
{
  VstPinProperties pin{};
  Check(plug.Dispatch(effGetInputProperties, 0, 0, &pin) == 1 && pin.flags == 3 &&
            std::string(pin.label) == "Input 1",
        "input 0: stereo, \"Input 1\"");
  Check(plug.Dispatch(effGetInputProperties, 1, 0, &pin) == 1 && pin.flags == 1 &&
            std::string(pin.label) == "Input 2",
        "input 1: active, \"Input 2\"");
  Check(plug.Dispatch(effGetOutputProperties, 0, 0, &pin) == 1 && pin.flags == 3 &&
            std::string(pin.label) == "Output 1",
        "output 0: stereo, \"Output 1\"");
  Check(plug.Dispatch(effGetOutputProperties, 1, 0, &pin) == 1 && pin.flags == 1 &&
            std::string(pin.label) == "Output 2",
        "output 1: active, \"Output 2\"");
  Check(plug.Dispatch(effGetInputProperties, 2, 0, &pin) == 0, "input 2 does not exist");
  Check(plug.Dispatch(effGetOutputProperties, -1, 0, &pin) == 0, "output -1 does not exist");
  Check(plug.Dispatch(effGetInputProperties, 0, 0, nullptr) == 0, "pin properties need ptr");

  VstSpeakerArrangement* in = nullptr;
  VstSpeakerArrangement* out = nullptr;
  Check(plug.Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out) == 1 &&
            in != nullptr && out != nullptr && in->numChannels == 2 &&
            in->type == kSpeakerArrStereo && out->numChannels == 2,
        "speaker arrangements stereo in and out");

  VstSpeakerArrangement three{};
  three.numChannels = 3;
  three.type = kSpeakerArrUserDefined;
  VstSpeakerArrangement stereo{};
  stereo.numChannels = 2;
  stereo.type = kSpeakerArrStereo;
  Check(plug.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&three), &stereo) ==
            0,
        "three input channels refused");
  Check(plug.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&stereo), &stereo) ==
            1,
        "stereo arrangement accepted");
}

void CheckHostConversation(Instance& plug)
{
  Check(gHost.calls[audioMasterGetProductString] >= 1, "effOpen asked for the product string");
  Check(gHost.calls[audioMasterGetVendorVersion] >= 1, "effOpen asked for the vendor version");
  const int asked = gHost.calls[audioMasterGetProductString];
  plug.Dispatch(effOpen);
  Check(gHost.calls[audioMasterGetProductString] == asked,
        "a second effOpen does not identify the host again");
}

void CheckChunks(vsthost::EntryPoint entry, Instance& plug)
{
  const auto program = plug.GetChunk(true);
  Check(program.size() == 8 + 121, "default program chunk is 8 + 121 bytes");
  Check(program == Concat({kHeader, kDefaultBlob}), "default program chunk: header and blob");

  const auto bank = plug.GetChunk(false);
  const std::vector<unsigned char> presetName = {5, 0, 0, 0, 'E', 'm', 'p', 't', 'y', 1};
  Check(bank.size() == 139, "default bank chunk is 139 bytes");
  Check(bank == Concat({kHeader, presetName, kDefaultBlob}),
        "default bank chunk: header, \"Empty\", flag, blob");

  const std::vector<unsigned char> shortChunk = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00};
  Check(plug.SetChunk(true, shortChunk) == 0, "6-byte magic-led program chunk answers 0");
  Check(plug.GetChunk(true) == program, "6-byte chunk changes nothing");
  Check(plug.SetChunk(false, shortChunk) == 0, "6-byte magic-led bank chunk answers 0");
  Check(plug.GetChunk(true) == program, "6-byte bank chunk changes nothing");

  // A changed state travels through a fresh instance, as a program and as a bank.
  const auto changedProgram = Concat({kHeader, ChangedBlob()});
  Check(plug.SetChunk(true, changedProgram) == 1, "changed program chunk accepted");
  const auto saved = plug.GetChunk(true);
  Check(saved == changedProgram, "program chunk reflects the loaded state");
  const auto savedBank = plug.GetChunk(false);
  Check(savedBank == Concat({kHeader, presetName, ChangedBlob()}),
        "bank chunk reflects the loaded state");
  {
    Instance fresh(entry);
    fresh.Start();
    Check(fresh.SetChunk(true, saved) == 1, "fresh instance takes the program chunk");
    Check(fresh.GetChunk(true) == saved, "program chunk round-trips through a fresh instance");
  }
  {
    Instance fresh(entry);
    fresh.Start();
    Check(fresh.SetChunk(false, savedBank) == 1, "fresh instance takes the bank chunk");
    Check(fresh.GetChunk(false) == savedBank, "bank chunk round-trips through a fresh instance");
    Check(fresh.GetChunk(true) == saved, "the bank brought the program state with it");
  }

  // A truncated bank is refused and leaves the state as it was.
  auto truncated = savedBank;
  truncated.resize(8 + 4 + 5); // header and name, flag byte missing
  plug.SetChunk(true, program);
  Check(plug.SetChunk(false, truncated) == 0, "bank without its flag byte refused");
  Check(plug.GetChunk(true) == program, "refused bank changes nothing");

  Check(plug.Dispatch(effGetChunk, 1, 0, nullptr) == 0, "effGetChunk without ptr answers 0");
  Check(plug.Dispatch(effSetChunk, 1, 4, nullptr) == 0, "effSetChunk without ptr answers 0");
}

template <typename T>
bool Passes(const std::vector<std::vector<T>>& in, const std::vector<std::vector<T>>& out,
            const std::vector<std::vector<T>>& before, bool accumulate)
{
  for (size_t c = 0; c < in.size(); ++c)
  {
    for (size_t i = 0; i < in[c].size(); ++i)
    {
      const T expected = accumulate ? static_cast<T>(before[c][i] + in[c][i]) : in[c][i];
      if (std::fabs(static_cast<double>(out[c][i] - expected)) > 1e-6) return false;
    }
  }
  return true;
}

template <typename T>
void FillBlock(std::vector<std::vector<T>>& in, std::vector<std::vector<T>>& out, int frames,
               int seed)
{
  in.assign(2, std::vector<T>(static_cast<size_t>(frames)));
  out.assign(2, std::vector<T>(static_cast<size_t>(frames)));
  for (int c = 0; c < 2; ++c)
  {
    for (int i = 0; i < frames; ++i)
    {
      in[c][i] = static_cast<T>(std::sin(0.01 * (i + seed) * (c + 1)) * 0.5);
      out[c][i] = static_cast<T>(0.25 * c - 0.125); // a host's previous contents
    }
  }
}

template <typename T>
std::vector<T*> Pointers(std::vector<std::vector<T>>& channels)
{
  std::vector<T*> pointers;
  for (auto& channel : channels)
    pointers.push_back(channel.data());
  return pointers;
}

bool ProcessFloat(Instance& plug, int frames, bool accumulate, int seed)
{
  std::vector<std::vector<float>> in, out;
  FillBlock(in, out, frames, seed);
  const auto before = out;
  auto inPtr = Pointers(in);
  auto outPtr = Pointers(out);
  if (accumulate)
    plug->process(plug.operator->(), inPtr.data(), outPtr.data(), frames);
  else
    plug->processReplacing(plug.operator->(), inPtr.data(), outPtr.data(), frames);
  return Passes(in, out, before, accumulate);
}

bool ProcessDouble(Instance& plug, int frames, int seed)
{
  std::vector<std::vector<double>> in, out;
  FillBlock(in, out, frames, seed);
  const auto before = out;
  auto inPtr = Pointers(in);
  auto outPtr = Pointers(out);
  plug->processDoubleReplacing(plug.operator->(), inPtr.data(), outPtr.data(), frames);
  return Passes(in, out, before, false);
}

void CheckAudio(Instance& plug)
{
  gHost.timeInfo = {};
  gHost.timeInfo.samplePos = 1024;
  gHost.timeInfo.tempo = 98;
  gHost.timeInfo.flags = kVstTempoValid | kVstTransportPlaying;
  const int timeCalls = gHost.calls[audioMasterGetTime];
  const int levelCalls = gHost.calls[audioMasterGetCurrentProcessLevel];

  bool replacing = true, doubles = true, accumulating = true;
  for (int block = 0; block < 8; ++block)
  {
    replacing = ProcessFloat(plug, 512, false, block * 512) && replacing;
    doubles = ProcessDouble(plug, 512, block * 512) && doubles;
    accumulating = ProcessFloat(plug, 512, true, block * 512) && accumulating;
  }
  Check(replacing, "processReplacing passes audio through unchanged");
  Check(doubles, "processDoubleReplacing passes audio through unchanged");
  Check(accumulating, "process adds the input to the host's outputs");
  Check(gHost.calls[audioMasterGetTime] == timeCalls + 24, "time info asked once per block");
  Check(gHost.lastTimeMask == 0x3E00, "time info asked with mask 0x3E00");
  Check(gHost.calls[audioMasterGetCurrentProcessLevel] == levelCalls + 24,
        "process level asked once per block");

  // Offline rendering and a host that gives no time info still pass audio.
  gHost.processLevel = kVstProcessLevelOffline;
  Check(ProcessFloat(plug, 256, false, 3), "offline block passes audio");
  gHost.processLevel = kVstProcessLevelRealtime;

  // New sample rate and block size: the plug-in resizes and keeps passing audio.
  plug.Dispatch(effMainsChanged, 0, 0);
  plug.Dispatch(effSetSampleRate, 0, 0, nullptr, 96000.f);
  plug.Dispatch(effSetBlockSize, 0, 2048);
  plug.Dispatch(effMainsChanged, 0, 1);
  Check(ProcessFloat(plug, 2048, false, 7) && ProcessDouble(plug, 2048, 7),
        "2048-frame blocks at 96 kHz pass audio");
  Check(ProcessFloat(plug, 1, false, 9) && ProcessFloat(plug, 0, false, 9),
        "one-frame and empty blocks");
  // Hosts occasionally send more frames than announced.
  Check(ProcessFloat(plug, 3000, false, 11), "a block longer than announced passes audio");
}

void CheckEditor(Instance& plug)
{
  // No parent window to open in: opening answers 0, closing still succeeds.
  Check(plug.Dispatch(effEditOpen, 0, 0, nullptr) == 0, "effEditOpen without a window answers 0");
  Check(plug.Dispatch(effEditClose) == 1, "effEditClose answers 1");
  for (int i = 0; i < 3; ++i)
    plug.Dispatch(effEditIdle);
  Check(plug.Dispatch(effEditKeyDown, 'a', 0, nullptr, 0.f) == 0,
        "key without an editor is not handled");
  Check(plug.Dispatch(effStartProcess) == 0 && plug.Dispatch(effSetBypass, 0, 1) == 0 &&
            plug.Dispatch(effSetProcessPrecision, 0, 1) == 0 && plug.Dispatch(200) == 0,
        "unhandled opcodes answer 0");
}

void CheckTwoInstances(vsthost::EntryPoint entry)
{
  Instance a(entry);
  Instance b(entry);
  Check(a.Valid() && b.Valid() && a.operator->() != b.operator->(), "two instances at once");
  if (!a.Valid() || !b.Valid()) return;
  a.Start();
  b.Start(48000.f, 256);
  a.SetChunk(true, Concat({kHeader, ChangedBlob()}));
  Check(b.GetChunk(true) == Concat({kHeader, kDefaultBlob}), "instances keep their own state");
  Check(ProcessFloat(a, 512, false, 1) && ProcessFloat(b, 256, false, 2) &&
            ProcessDouble(a, 512, 3),
        "both instances process");
}

} // namespace

int main(int argc, char** argv)
{
  if (argc < 2)
  {
    std::printf("usage: %s PLUGIN [--editor]\n", argv[0]);
    return 2;
  }
  // --editor: only the editor run, in a window of this process (Linux: on $DISPLAY).
  const bool editorRun = argc > 2 && std::strcmp(argv[2], "--editor") == 0;

  {
    vsthost::PluginLibrary library(argv[1]);
    Check(library.IsLoaded(), "plug-in library loads");
    if (!library.IsLoaded())
    {
      std::printf("%s\n", library.GetError().c_str());
    }
    else
    {
      vsthost::EntryPoint entry = library.Find("VSTPluginMain");
      vsthost::EntryPoint legacy = library.Find("main");
      Check(entry != nullptr, "VSTPluginMain exported");
      Check(legacy != nullptr, "main exported");
      if (editorRun && entry != nullptr)
      {
        vsthost::RunEditorChecks(entry, &Check);
      }
      else if (entry != nullptr && legacy != nullptr)
      {
        {
          Instance viaMain(legacy);
          Check(viaMain.Valid() && viaMain->magic == kEffectMagic, "main makes an instance");
        }

        gHost.productString = "WaveLab Elements 10";
        gHost.vendorVersion = 100203;
        Instance plug(entry);
        Check(plug.Valid(), "VSTPluginMain makes an instance");
        if (plug.Valid())
        {
          CheckRecord(plug);
          plug.Start();
          CheckHostConversation(plug);
          CheckIdentity(plug);
          CheckCanDo(plug);
          CheckPins(plug);
          CheckChunks(entry, plug);
          CheckAudio(plug);
          CheckEditor(plug);
          plug.Close();
        }

        gHost.productString = "Cubase 12";
        CheckTwoInstances(entry);
      }
    }
  }

  std::printf("%d passed, %d failed\n", gPassed, gFailed);
  return gFailed == 0 ? 0 : 1;
}
