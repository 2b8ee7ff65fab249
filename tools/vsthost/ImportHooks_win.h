#pragma once

// Replaces a loaded module's imported functions with the host's own, so the
// test host can watch what the plug-in asks of the system (contexts, timers,
// buffer swaps) without any help from the plug-in itself.

#include <windows.h>

namespace vsthost
{

// Points `module`'s import of `dll`!`function` at `replacement` and returns
// the function it pointed at before, or null when the module does not import
// it by name.
void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement);

} // namespace vsthost
