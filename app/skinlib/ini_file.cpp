#include <string>
#include <vector>

#include "app/skinlib/library_state.h"
#include "app/skinlib/skinlib.h"

struct IniFileData {
  struct Entry {
    std::wstring section;
    std::wstring key;
    std::wstring value;
  };
  std::vector<Entry> entries;
};

namespace {
// INI files are small; a larger file is not one.
constexpr DWORD kMaxIniBytes = 4u << 20;

bool ReadBytes(const wchar_t* path, std::string& bytes) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD size = GetFileSize(file, nullptr);
  bool ok = size != INVALID_FILE_SIZE && size <= kMaxIniBytes;
  if (ok) {
    bytes.resize(size);
    DWORD done = 0;
    ok = size == 0 || (ReadFile(file, &bytes[0], size, &done, nullptr) && done == size);
  }
  CloseHandle(file);
  return ok;
}

std::wstring Decode(const std::string& bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    std::wstring text((bytes.size() - 2) / 2, L'\0');
    for (size_t i = 0; i < text.size(); ++i)
      text[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                     (static_cast<unsigned char>(bytes[3 + 2 * i]) << 8));
    return text;
  }
  UINT codePage = CP_ACP;
  size_t skip = 0;
  if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    codePage = CP_UTF8;
    skip = 3;
  }
  int length = static_cast<int>(bytes.size() - skip);
  if (length == 0) return {};
  int n = MultiByteToWideChar(codePage, 0, bytes.data() + skip, length, nullptr, 0);
  if (n <= 0) return {};
  std::wstring text(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data() + skip, length, &text[0], n);
  return text;
}

std::wstring Trim(const std::wstring& text) {
  size_t begin = text.find_first_not_of(L" \t\r\n");
  if (begin == std::wstring::npos) return {};
  size_t end = text.find_last_not_of(L" \t\r\n");
  return text.substr(begin, end - begin + 1);
}

bool SameName(const std::wstring& a, const wchar_t* b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b, -1, TRUE) == CSTR_EQUAL;
}

void Parse(const std::wstring& text, IniFileData& data) {
  std::wstring section;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find(L'\n', pos);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = Trim(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line[0] == L';' || line[0] == L'#') continue;
    if (line[0] == L'[') {
      size_t close = line.find(L']');
      section = Trim(line.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1));
      continue;
    }
    size_t eq = line.find(L'=');
    if (eq == std::wstring::npos) continue;
    data.entries.push_back({section, Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))});
  }
}

int CopyOut(wchar_t* out, const wchar_t* text) {
  if (!out) return 0;
  int n = 0;
  if (text)
    for (; n < SKINLIB_INI_VALUE_CHARS - 1 && text[n]; ++n) out[n] = text[n];
  out[n] = 0;
  return n;
}
}  // namespace

IniFile::IniFile() : data_(new IniFileData) {}

IniFile::~IniFile() { delete data_; }

BOOL IniFile::Load(const wchar_t* path) {
  data_->entries.clear();
  skinlib::SetPictureFolderFrom(path);
  std::string bytes;
  if (!path || !ReadBytes(path, bytes)) return FALSE;
  Parse(Decode(bytes), *data_);
  return TRUE;
}

int IniFile::ReadString(wchar_t* out, const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue) {
  if (section && key) {
    for (const auto& entry : data_->entries)
      if (SameName(entry.section, section) && SameName(entry.key, key)) return CopyOut(out, entry.value.c_str());
  }
  return CopyOut(out, defaultValue);
}
