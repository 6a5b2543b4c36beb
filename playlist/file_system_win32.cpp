#include <windows.h>

#include "platform/files/wide_file.h"
#include "platform/text/utf16.h"
#include "playlist/file_system.h"

namespace qv {

namespace {

std::wstring Terminated(std::u16string_view path) {
  return std::wstring(reinterpret_cast<const wchar_t*>(path.data()), path.size());
}

bool WriteAll(HANDLE file, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(bytes.size() - done > 0x100000 ? 0x100000 : bytes.size() - done);
    DWORD wrote = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0) return false;
    done += wrote;
  }
  return true;
}

class Win32FileSystem : public PlaylistFileSystem {
 public:
  PathKind Inspect(std::u16string_view path) override {
    if (path.empty()) return PathKind::Missing;
    DWORD attributes = GetFileAttributesW(Terminated(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
  }

  bool List(std::u16string_view folder, std::vector<FolderItem>& out) override {
    out.clear();
    std::wstring pattern = Terminated(folder) + L"\\*";
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(pattern.c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return false;
    do {
      FolderItem item;
      item.name = AsU16(found.cFileName);
      item.folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      item.reparsePoint = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
      out.push_back(std::move(item));
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return true;
  }

  bool ReadFile(std::u16string_view path, size_t maxBytes, std::vector<uint8_t>& out) override {
    return ReadWholeFile(path, maxBytes, out);
  }

  bool ReplaceFile(std::u16string_view path, const std::vector<uint8_t>& bytes) override {
    size_t slash = path.rfind(u'\\');
    std::wstring folder = slash == std::u16string_view::npos ? L"" : Terminated(path.substr(0, slash + 1));
    std::wstring target = Terminated(path);
    for (DWORD attempt = 0; attempt < 100; ++attempt) {
      wchar_t name[32];
      wsprintfW(name, L"~qv%08lx.tmp", (GetTickCount() + attempt * 7919u) ^ GetCurrentProcessId());
      std::wstring temp = folder + name;
      if (temp.size() >= MAX_PATH) return false;
      HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_FILE_EXISTS) continue;
        return false;
      }
      bool ok = WriteAll(file, bytes) && FlushFileBuffers(file);
      ok = CloseHandle(file) && ok;
      ok = ok && MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
      if (!ok) DeleteFileW(temp.c_str());
      return ok;
    }
    return false;
  }

  bool RemoveFile(std::u16string_view path) override {
    if (DeleteFileW(Terminated(path).c_str())) return true;
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
};

}  // namespace

PlaylistFileSystem& SystemPlaylistFileSystem() {
  static Win32FileSystem files;
  return files;
}

}  // namespace qv
