#include "graphics/platform/win32/GLLoader.h"

#define TRAZELLE_GL_DEFINE(name, type) type trazelle_##name = nullptr;
TRAZELLE_GL_FUNCTIONS(TRAZELLE_GL_DEFINE)
#undef TRAZELLE_GL_DEFINE

namespace kit::gfx
{
namespace
{

int gMissing = 0;

// wglGetProcAddress reports failure as 0 and, on some drivers, as 1, 2, 3 or
// -1; opengl32.dll's own exports are the fallback for functions it carries.
PROC Resolve(HMODULE opengl32, const char* name)
{
  PROC proc = wglGetProcAddress(name);
  const auto value = reinterpret_cast<intptr_t>(proc);
  if (value == 0 || value == 1 || value == 2 || value == 3 || value == -1)
    proc = opengl32 ? GetProcAddress(opengl32, name) : nullptr;
  return proc;
}

} // namespace

bool LoadGLFunctions()
{
  HMODULE opengl32 = GetModuleHandleA("opengl32.dll");
  if (!opengl32) opengl32 = LoadLibraryA("opengl32.dll");
  int missing = 0;
#define TRAZELLE_GL_LOAD(name, type)                                                               \
  trazelle_##name = reinterpret_cast<type>(reinterpret_cast<void*>(Resolve(opengl32, #name)));     \
  if (!trazelle_##name) ++missing;
  TRAZELLE_GL_FUNCTIONS(TRAZELLE_GL_LOAD)
#undef TRAZELLE_GL_LOAD
  gMissing = missing;
  return missing == 0;
}

int MissingGLFunctionCount()
{
  return gMissing;
}

} // namespace kit::gfx
