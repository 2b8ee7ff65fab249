#include "framework/IByteChunk.h"

#include <climits>

namespace kit
{

int IByteChunk::PutBytes(const void* data, int size)
{
  if (size > 0 && data != nullptr && static_cast<long long>(Size()) + size <= INT_MAX)
  {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    mBytes.insert(mBytes.end(), bytes, bytes + size);
  }
  return Size();
}

int IByteChunk::GetBytes(void* out, int size, int pos) const
{
  if (pos < 0 || size < 0) return -1;
  const long long end = static_cast<long long>(pos) + size;
  if (end > Size()) return -1;
  if (size > 0) std::memcpy(out, mBytes.data() + pos, static_cast<size_t>(size));
  return static_cast<int>(end);
}

int IByteChunk::PutStr(std::string_view text)
{
  const auto length = static_cast<std::int32_t>(text.size());
  Put(length);
  return PutBytes(text.data(), length);
}

int IByteChunk::GetStr(std::string& text, int pos) const
{
  std::int32_t length = 0;
  pos = Get(length, pos);
  if (pos < 0) return -1;
  if (length < 1)
  {
    text.clear();
    return pos;
  }
  if (static_cast<long long>(pos) + length > Size()) return -1;
  text.assign(reinterpret_cast<const char*>(mBytes.data() + pos), static_cast<size_t>(length));
  return pos + length;
}

int IByteChunk::Resize(int size)
{
  mBytes.resize(size > 0 ? static_cast<size_t>(size) : 0u, 0);
  return Size();
}

void IByteChunk::InitChunkWithPluginVer(IByteChunk& chunk)
{
  chunk.Clear();
  chunk.Put(kMagic);
  chunk.Put(kVersion);
}

int IByteChunk::GetPluginVerFromChunk(const IByteChunk& chunk, int& pos)
{
  std::int32_t magic = 0;
  if (chunk.Get(magic, 0) < 0 || magic != kMagic)
  {
    pos = 0;
    return 0;
  }
  std::int32_t version = 0;
  if (chunk.Get(version, 4) < 0)
  {
    pos = -1;
    return 0;
  }
  pos = 8;
  return version;
}

} // namespace kit
