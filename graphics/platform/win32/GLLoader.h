#pragma once

// OpenGL 3.2 core declarations for the Windows build. opengl32.dll exports
// only OpenGL 1.1; everything newer has to be fetched from the driver through
// wglGetProcAddress once a context is current. Every function the NanoVG GL3
// back end and the window need beyond 1.1 is a pointer here, and a macro maps
// the usual gl name onto it, so code written against a normal GL header
// compiles unchanged.

#include "graphics/platform/win32/WinIncludes.h"

#include <GL/gl.h>
#include <GL/glext.h>

// X(name, pointer type) for every function loaded at run time.
#define TRAZELLE_GL_FUNCTIONS(X)                                                                   \
  X(glActiveTexture, PFNGLACTIVETEXTUREPROC)                                                       \
  X(glAttachShader, PFNGLATTACHSHADERPROC)                                                         \
  X(glBindAttribLocation, PFNGLBINDATTRIBLOCATIONPROC)                                             \
  X(glBindBuffer, PFNGLBINDBUFFERPROC)                                                             \
  X(glBindBufferRange, PFNGLBINDBUFFERRANGEPROC)                                                   \
  X(glBindFramebuffer, PFNGLBINDFRAMEBUFFERPROC)                                                   \
  X(glBindRenderbuffer, PFNGLBINDRENDERBUFFERPROC)                                                 \
  X(glBindVertexArray, PFNGLBINDVERTEXARRAYPROC)                                                   \
  X(glBlendFuncSeparate, PFNGLBLENDFUNCSEPARATEPROC)                                               \
  X(glBlitFramebuffer, PFNGLBLITFRAMEBUFFERPROC)                                                   \
  X(glBufferData, PFNGLBUFFERDATAPROC)                                                             \
  X(glCheckFramebufferStatus, PFNGLCHECKFRAMEBUFFERSTATUSPROC)                                     \
  X(glCompileShader, PFNGLCOMPILESHADERPROC)                                                       \
  X(glCreateProgram, PFNGLCREATEPROGRAMPROC)                                                       \
  X(glCreateShader, PFNGLCREATESHADERPROC)                                                         \
  X(glDeleteBuffers, PFNGLDELETEBUFFERSPROC)                                                       \
  X(glDeleteFramebuffers, PFNGLDELETEFRAMEBUFFERSPROC)                                             \
  X(glDeleteProgram, PFNGLDELETEPROGRAMPROC)                                                       \
  X(glDeleteRenderbuffers, PFNGLDELETERENDERBUFFERSPROC)                                           \
  X(glDeleteShader, PFNGLDELETESHADERPROC)                                                         \
  X(glDeleteVertexArrays, PFNGLDELETEVERTEXARRAYSPROC)                                             \
  X(glDisableVertexAttribArray, PFNGLDISABLEVERTEXATTRIBARRAYPROC)                                 \
  X(glEnableVertexAttribArray, PFNGLENABLEVERTEXATTRIBARRAYPROC)                                   \
  X(glFramebufferRenderbuffer, PFNGLFRAMEBUFFERRENDERBUFFERPROC)                                   \
  X(glFramebufferTexture2D, PFNGLFRAMEBUFFERTEXTURE2DPROC)                                         \
  X(glGenBuffers, PFNGLGENBUFFERSPROC)                                                             \
  X(glGenFramebuffers, PFNGLGENFRAMEBUFFERSPROC)                                                   \
  X(glGenRenderbuffers, PFNGLGENRENDERBUFFERSPROC)                                                 \
  X(glGenVertexArrays, PFNGLGENVERTEXARRAYSPROC)                                                   \
  X(glGenerateMipmap, PFNGLGENERATEMIPMAPPROC)                                                     \
  X(glGetProgramInfoLog, PFNGLGETPROGRAMINFOLOGPROC)                                               \
  X(glGetProgramiv, PFNGLGETPROGRAMIVPROC)                                                         \
  X(glGetShaderInfoLog, PFNGLGETSHADERINFOLOGPROC)                                                 \
  X(glGetShaderiv, PFNGLGETSHADERIVPROC)                                                           \
  X(glGetStringi, PFNGLGETSTRINGIPROC)                                                             \
  X(glGetUniformBlockIndex, PFNGLGETUNIFORMBLOCKINDEXPROC)                                         \
  X(glGetUniformLocation, PFNGLGETUNIFORMLOCATIONPROC)                                             \
  X(glLinkProgram, PFNGLLINKPROGRAMPROC)                                                           \
  X(glRenderbufferStorage, PFNGLRENDERBUFFERSTORAGEPROC)                                           \
  X(glShaderSource, PFNGLSHADERSOURCEPROC)                                                         \
  X(glStencilOpSeparate, PFNGLSTENCILOPSEPARATEPROC)                                               \
  X(glUniform1i, PFNGLUNIFORM1IPROC)                                                               \
  X(glUniform2fv, PFNGLUNIFORM2FVPROC)                                                             \
  X(glUniform4fv, PFNGLUNIFORM4FVPROC)                                                             \
  X(glUniformBlockBinding, PFNGLUNIFORMBLOCKBINDINGPROC)                                           \
  X(glUseProgram, PFNGLUSEPROGRAMPROC)                                                             \
  X(glVertexAttribPointer, PFNGLVERTEXATTRIBPOINTERPROC)

#define TRAZELLE_GL_DECLARE(name, type) extern type trazelle_##name;
TRAZELLE_GL_FUNCTIONS(TRAZELLE_GL_DECLARE)
#undef TRAZELLE_GL_DECLARE

// Name mapping, spelled out so that tools and readers find each symbol.
#define glActiveTexture trazelle_glActiveTexture
#define glAttachShader trazelle_glAttachShader
#define glBindAttribLocation trazelle_glBindAttribLocation
#define glBindBuffer trazelle_glBindBuffer
#define glBindBufferRange trazelle_glBindBufferRange
#define glBindFramebuffer trazelle_glBindFramebuffer
#define glBindRenderbuffer trazelle_glBindRenderbuffer
#define glBindVertexArray trazelle_glBindVertexArray
#define glBlendFuncSeparate trazelle_glBlendFuncSeparate
#define glBlitFramebuffer trazelle_glBlitFramebuffer
#define glBufferData trazelle_glBufferData
#define glCheckFramebufferStatus trazelle_glCheckFramebufferStatus
#define glCompileShader trazelle_glCompileShader
#define glCreateProgram trazelle_glCreateProgram
#define glCreateShader trazelle_glCreateShader
#define glDeleteBuffers trazelle_glDeleteBuffers
#define glDeleteFramebuffers trazelle_glDeleteFramebuffers
#define glDeleteProgram trazelle_glDeleteProgram
#define glDeleteRenderbuffers trazelle_glDeleteRenderbuffers
#define glDeleteShader trazelle_glDeleteShader
#define glDeleteVertexArrays trazelle_glDeleteVertexArrays
#define glDisableVertexAttribArray trazelle_glDisableVertexAttribArray
#define glEnableVertexAttribArray trazelle_glEnableVertexAttribArray
#define glFramebufferRenderbuffer trazelle_glFramebufferRenderbuffer
#define glFramebufferTexture2D trazelle_glFramebufferTexture2D
#define glGenBuffers trazelle_glGenBuffers
#define glGenFramebuffers trazelle_glGenFramebuffers
#define glGenRenderbuffers trazelle_glGenRenderbuffers
#define glGenVertexArrays trazelle_glGenVertexArrays
#define glGenerateMipmap trazelle_glGenerateMipmap
#define glGetProgramInfoLog trazelle_glGetProgramInfoLog
#define glGetProgramiv trazelle_glGetProgramiv
#define glGetShaderInfoLog trazelle_glGetShaderInfoLog
#define glGetShaderiv trazelle_glGetShaderiv
#define glGetStringi trazelle_glGetStringi
#define glGetUniformBlockIndex trazelle_glGetUniformBlockIndex
#define glGetUniformLocation trazelle_glGetUniformLocation
#define glLinkProgram trazelle_glLinkProgram
#define glRenderbufferStorage trazelle_glRenderbufferStorage
#define glShaderSource trazelle_glShaderSource
#define glStencilOpSeparate trazelle_glStencilOpSeparate
#define glUniform1i trazelle_glUniform1i
#define glUniform2fv trazelle_glUniform2fv
#define glUniform4fv trazelle_glUniform4fv
#define glUniformBlockBinding trazelle_glUniformBlockBinding
#define glUseProgram trazelle_glUseProgram
#define glVertexAttribPointer trazelle_glVertexAttribPointer

namespace kit::gfx
{

// Fills every pointer above from the context current on this thread.
// Returns false (and leaves the missing pointers null) when the driver lacks
// any of them; callers then treat the window as one that draws nothing.
// [ui thread] with an OpenGL 3.2 context current
bool LoadGLFunctions();

// Number of pointers the last LoadGLFunctions call could not resolve.
int MissingGLFunctionCount();

} // namespace kit::gfx
