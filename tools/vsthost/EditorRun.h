#pragma once

// The editor run of the test host (EditorRun_win.cpp, EditorRun_linux.cpp): opens the plug-in's
// editor in a window of the host, feeds audio in real time, operates controls with mouse messages
// (Linux: XTest input), and checks the result through the saved state and through the frames the
// editor draws. Also opens and closes the editor repeatedly and counts what is left behind.

#include "tools/vsthost/PluginLibrary.h"

namespace vsthost
{

using CheckFunction = void (*)(bool ok, const char* what);

// `library` must already be loaded (its entry point is `entry`).
void RunEditorChecks(EntryPoint entry, CheckFunction check);

} // namespace vsthost
