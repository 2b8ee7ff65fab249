#include "graphics/platform/headless/GLDrawCounter.h"

#include "graphics/GLHeaders.h"

namespace kit::gfx
{

namespace
{

long long gDrawCalls = 0;
decltype(epoxy_glDrawArrays) gForward = nullptr;

void EPOXY_CALLSPEC CountingDrawArrays(GLenum mode, GLint first, GLsizei count)
{
  ++gDrawCalls;
  gForward(mode, first, count);
}

} // namespace

void InstallGLDrawCounter()
{
  if (epoxy_glDrawArrays == &CountingDrawArrays) return;
  gForward = epoxy_glDrawArrays;
  epoxy_glDrawArrays = &CountingDrawArrays;
}

long long GLDrawCalls()
{
  return gDrawCalls;
}

} // namespace kit::gfx
