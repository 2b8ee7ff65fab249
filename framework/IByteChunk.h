#pragma once

// Growable byte array used for every state chunk the host stores. Values are
// appended at the end and read back from a caller-supplied position; a read
// that would pass the end (or starts at a negative position) yields -1, so a
// caller can chain reads and test once at the end. Byte order is the
// machine's: the plug-in only ships for little-endian targets.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace kit
{

class IByteChunk
{
public:
  // "ftfp" read as a little-endian int32, then the chunk format version.
  static constexpr std::int32_t kMagic = 0x70666674;
  static constexpr std::int32_t kVersion = 0x00010000;

  // Appends raw bytes; returns the new size.
  int PutBytes(const void* data, int size);

  // Copies size bytes from position pos; returns the position after them or -1.
  int GetBytes(void* out, int size, int pos) const;

  template <typename T>
  int Put(const T& value)
  {
    static_assert(std::is_trivially_copyable_v<T>);
    return PutBytes(&value, static_cast<int>(sizeof(T)));
  }

  template <typename T>
  int Get(T& value, int pos) const
  {
    static_assert(std::is_trivially_copyable_v<T>);
    return GetBytes(&value, static_cast<int>(sizeof(T)), pos);
  }

  // int32 length, then the bytes without a terminator.
  int PutStr(std::string_view text);
  // A length below 1 reads as the empty text. -1 when the length or the bytes
  // do not fit.
  int GetStr(std::string& text, int pos) const;

  int PutChunk(const IByteChunk& other) { return PutBytes(other.GetData(), other.Size()); }

  void Clear() { mBytes.clear(); }
  // New bytes are zero. Returns the new size.
  int Resize(int size);
  int Size() const { return static_cast<int>(mBytes.size()); }
  std::uint8_t* GetData() { return mBytes.data(); }
  const std::uint8_t* GetData() const { return mBytes.data(); }
  bool IsEqual(const IByteChunk& other) const { return mBytes == other.mBytes; }

  // Starts a chunk with the magic and the format version.
  static void InitChunkWithPluginVer(IByteChunk& chunk);

  // Reads the header a chunk may begin with. With the magic and a version:
  // returns the version and sets pos to 8. A chunk that begins with the magic
  // but is too short for the version gives version 0 and pos -1, so the reader
  // that follows fails. Without the magic: version 0 and pos 0 (a bare body).
  static int GetPluginVerFromChunk(const IByteChunk& chunk, int& pos);

private:
  std::vector<std::uint8_t> mBytes;
};

} // namespace kit
