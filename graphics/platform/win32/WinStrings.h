#pragma once

// UTF-8 (the framework's strings) to UTF-16 (the system's) and back.

#include "graphics/platform/win32/WinIncludes.h"

#include <string>

namespace kit::gfx
{

inline std::wstring Utf8ToWide(const char* utf8)
{
  if (!utf8 || !*utf8) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  if (n <= 1) return {};
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out.data(), n);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

inline std::string WideToUtf8(const wchar_t* wide, int length = -1)
{
  if (!wide || length == 0) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, length, out.data(), n, nullptr, nullptr);
  if (length < 0) out.resize(static_cast<size_t>(n - 1)); // drop the terminator
  return out;
}

} // namespace kit::gfx
