#pragma once

// What a host stores for the plug-in, read back the way a project file would hold it: the chunk
// effGetChunk hands out (an 8-byte header, then the settings as a MessagePack map of short names
// to numbers), decoded without the plug-in's own code.

#include "framework/VST2Interface.h"

#include <map>
#include <string>

namespace vsthost
{

// The plug-in's current settings; empty when the chunk cannot be read.
std::map<std::string, double> SavedSettings(kit::vst2::AEffect* plugin);

} // namespace vsthost
