#include <windows.h>

#include "platform/files/wide_file.h"
#include "platform/text/utf16.h"

namespace qv {

namespace {
HANDLE AsHandle(intptr_t h) { return reinterpret_cast<HANDLE>(h); }
}  // namespace

bool WideFile::Open(std::u16string_view path, FileMode mode) {
  Close();
  if (path.empty()) return false;
  std::u16string name(path);  // terminated copy
  DWORD access = GENERIC_READ;
  DWORD disposition = OPEN_EXISTING;
  if (mode != FileMode::Read) access |= GENERIC_WRITE;
  if (mode == FileMode::CreateAlways) disposition = CREATE_ALWAYS;
  HANDLE h = CreateFileW(AsWide(name.c_str()), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  handle_ = reinterpret_cast<intptr_t>(h);
  return true;
}

void WideFile::Close() {
  if (handle_ != kClosed) CloseHandle(AsHandle(handle_));
  handle_ = kClosed;
}

int64_t WideFile::Read(void* buffer, size_t size) {
  if (!IsOpen()) return -1;
  DWORD want = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
  DWORD got = 0;
  if (!ReadFile(AsHandle(handle_), buffer, want, &got, nullptr)) return -1;
  return got;
}

int64_t WideFile::Write(const void* buffer, size_t size) {
  if (!IsOpen()) return -1;
  DWORD want = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
  DWORD put = 0;
  if (!WriteFile(AsHandle(handle_), buffer, want, &put, nullptr)) return -1;
  return put;
}

bool WideFile::Seek(int64_t offset) {
  if (!IsOpen() || offset < 0) return false;
  LARGE_INTEGER to;
  to.QuadPart = offset;
  return SetFilePointerEx(AsHandle(handle_), to, nullptr, FILE_BEGIN) != 0;
}

int64_t WideFile::Tell() const {
  if (!IsOpen()) return -1;
  LARGE_INTEGER zero, at;
  zero.QuadPart = 0;
  if (!SetFilePointerEx(AsHandle(handle_), zero, &at, FILE_CURRENT)) return -1;
  return at.QuadPart;
}

int64_t WideFile::Size() const {
  if (!IsOpen()) return -1;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(AsHandle(handle_), &size)) return -1;
  return size.QuadPart;
}

bool WideFileExists(std::u16string_view path) {
  if (path.empty()) return false;
  std::u16string name(path);
  DWORD attrs = GetFileAttributesW(AsWide(name.c_str()));
  return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace qv
