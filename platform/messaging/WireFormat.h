// Little-endian byte encoding shared by the flattened message format and
// the messenger addresses inside it. The writer appends to a std::string;
// the reader never reads past its input and reports running short instead.
//
//   WireReader in(data, size);
//   uint32 magic;
//   if (!in.ReadUInt32(&magic)) return B_BAD_DATA;
#pragma once

#include "platform/support/SupportDefs.h"

#include <cstring>
#include <string>

class WireWriter {
public:
  explicit WireWriter(std::string* out) : fOut(out) {}

  void WriteUInt8(uint8 v) { fOut->push_back(static_cast<char>(v)); }
  void WriteUInt16(uint16 v) { WriteLE(v, 2); }
  void WriteUInt32(uint32 v) { WriteLE(v, 4); }
  void WriteUInt64(uint64 v) { WriteLE(v, 8); }
  void WriteBytes(const void* data, size_t size) { fOut->append(static_cast<const char*>(data), size); }

private:
  void WriteLE(uint64 v, int bytes)
  {
    for (int i = 0; i < bytes; i++)
      fOut->push_back(static_cast<char>((v >> (8 * i)) & 0xff));
  }

  std::string* fOut;
};

class WireReader {
public:
  WireReader(const char* data, size_t size) : fData(data), fSize(size) {}

  size_t Remaining() const { return fSize - fPos; }
  bool AtEnd() const { return fPos == fSize; }

  bool ReadUInt8(uint8* v) { uint64 x; if (!ReadLE(&x, 1)) return false; *v = uint8(x); return true; }
  bool ReadUInt16(uint16* v) { uint64 x; if (!ReadLE(&x, 2)) return false; *v = uint16(x); return true; }
  bool ReadUInt32(uint32* v) { uint64 x; if (!ReadLE(&x, 4)) return false; *v = uint32(x); return true; }
  bool ReadUInt64(uint64* v) { return ReadLE(v, 8); }

  // Points *bytes at the next size bytes of the input without copying.
  bool ReadBytes(size_t size, const char** bytes)
  {
    if (size > Remaining())
      return false;
    *bytes = fData + fPos;
    fPos += size;
    return true;
  }

private:
  bool ReadLE(uint64* v, int bytes)
  {
    if (size_t(bytes) > Remaining())
      return false;
    uint64 x = 0;
    for (int i = 0; i < bytes; i++)
      x |= uint64(uint8(fData[fPos + i])) << (8 * i);
    fPos += bytes;
    *v = x;
    return true;
  }

  const char* fData;
  size_t fSize;
  size_t fPos = 0;
};
