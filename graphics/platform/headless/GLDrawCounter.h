#pragma once

// Counts the OpenGL draw calls this process makes through libepoxy: glDrawArrays, the only draw
// call NanoVG's GL3 renderer issues. Benchmarks, the render tool's statistics and the tests that
// hold the oscilloscope to a draw budget read it. UI thread only, like the headless platform.

namespace kit::gfx
{

/** Starts counting; once installed it stays (calling again changes nothing). Install only after
 * a frame has been drawn: the counter stands in for epoxy's dispatch pointer, and before the
 * entry point is resolved that pointer leads to a stub that would call the stand-in again. */
void InstallGLDrawCounter();
/** Draw calls since the counter was installed. */
long long GLDrawCalls();

} // namespace kit::gfx
