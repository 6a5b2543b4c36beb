// The few COM shapes the media seam shares with the system's media objects,
// declared without <windows.h>: a GUID with the system's layout, HRESULT
// values, and the calling convention of COM methods on 32-bit Windows.
#pragma once

#include <cstdint>

#if defined(_WIN32) && defined(__i386__)
#define QV_COMCALL __attribute__((stdcall))
#else
#define QV_COMCALL
#endif

namespace qv {

struct Guid {
  uint32_t data1;
  uint16_t data2;
  uint16_t data3;
  uint8_t data4[8];
};

inline bool operator==(const Guid& a, const Guid& b) {
  if (a.data1 != b.data1 || a.data2 != b.data2 || a.data3 != b.data3) return false;
  for (int i = 0; i < 8; ++i)
    if (a.data4[i] != b.data4[i]) return false;
  return true;
}
inline bool operator!=(const Guid& a, const Guid& b) { return !(a == b); }

// A GUID as it is stored in files: data1, data2 and data3 little-endian,
// then data4 as it is. `bytes` holds 16 bytes.
Guid GuidFromBytes(const uint8_t* bytes);

using ComResult = int32_t;  // an HRESULT
constexpr ComResult kComOk = 0;                                            // S_OK
constexpr ComResult kComFalse = 1;                                         // S_FALSE
constexpr ComResult kComNotImplemented = static_cast<int32_t>(0x80004001);  // E_NOTIMPL
constexpr ComResult kComNoInterface = static_cast<int32_t>(0x80004002);     // E_NOINTERFACE
constexpr ComResult kComPointer = static_cast<int32_t>(0x80004003);         // E_POINTER
constexpr ComResult kComFail = static_cast<int32_t>(0x80004005);            // E_FAIL
constexpr ComResult kComOutOfMemory = static_cast<int32_t>(0x8007000E);     // E_OUTOFMEMORY
constexpr ComResult kComInvalidArg = static_cast<int32_t>(0x80070057);      // E_INVALIDARG

inline bool ComSucceeded(ComResult r) { return r >= 0; }

}  // namespace qv
