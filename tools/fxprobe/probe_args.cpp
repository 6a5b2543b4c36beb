#include "probe_args.h"

#include <windows.h>

#include <cwchar>

namespace fxprobe {

const wchar_t kUsage[] =
    L"usage:\n"
    L"  fxprobe listen --log FILE [--ready FILE] [--seconds N] [--classes A,B,...] [--messages N,N,...]\n"
    L"      windows of the effect classes (default QUOVIRA, Equalizer, Crossover, Compressor, Effector)\n"
    L"      log every WM_COMMAND, WM_COPYDATA and the listed messages (default 1924,1925,1926);\n"
    L"      WM_CLOSE to any of them ends the probe\n"
    L"  fxprobe send (--class NAME | --hwnd HEX) --copydata CODE [--data HEX | --data-file FILE | --zeros N]\n"
    L"  fxprobe send (--class NAME | --hwnd HEX) --message N [--wparam N] [--lparam N]\n"
    L"  fxprobe send (--class NAME | --hwnd HEX) --command N [--lparam N]\n"
    L"      prints result=N; exit code 3 when no such window exists\n";

namespace {
bool ParseNumber(const std::wstring& text, long long& value) {
  if (text.empty()) return false;
  wchar_t* end = nullptr;
  value = wcstoll(text.c_str(), &end, 0);
  return end && *end == 0;
}

std::vector<std::wstring> SplitList(const std::wstring& text) {
  std::vector<std::wstring> items;
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(L',', start);
    if (comma == std::wstring::npos) comma = text.size();
    if (comma > start) items.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
  return items;
}

bool ReadFileBytes(const std::wstring& path, std::vector<uint8_t>& out) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD size = GetFileSize(file, nullptr);
  bool ok = size != INVALID_FILE_SIZE && size <= (64u << 20);
  if (ok) {
    out.resize(size);
    DWORD done = 0;
    ok = size == 0 || (ReadFile(file, out.data(), size, &done, nullptr) && done == size);
  }
  CloseHandle(file);
  return ok;
}
}  // namespace

std::string HexBytes(const uint8_t* data, size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(size * 2);
  for (size_t i = 0; i < size; ++i) {
    text += kDigits[data[i] >> 4];
    text += kDigits[data[i] & 15];
  }
  return text;
}

bool ParseHexBytes(const std::wstring& text, std::vector<uint8_t>& out) {
  out.clear();
  if (text.size() % 2) return false;
  for (size_t i = 0; i < text.size(); i += 2) {
    int value = 0;
    for (size_t j = 0; j < 2; ++j) {
      wchar_t c = text[i + j];
      int digit = c >= L'0' && c <= L'9' ? c - L'0' : c >= L'a' && c <= L'f' ? c - L'a' + 10
                                                    : c >= L'A' && c <= L'F' ? c - L'A' + 10 : -1;
      if (digit < 0) return false;
      value = value * 16 + digit;
    }
    out.push_back(static_cast<uint8_t>(value));
  }
  return true;
}

bool ParseArgs(const std::vector<std::wstring>& argv, Args& args, std::wstring& error) {
  if (argv.size() < 2) {
    error = L"missing mode";
    return false;
  }
  args.listen = argv[1] == L"listen";
  if (!args.listen && argv[1] != L"send") {
    error = L"unknown mode " + argv[1];
    return false;
  }
  bool haveTarget = false, haveKind = false;
  for (size_t i = 2; i < argv.size(); ++i) {
    const std::wstring& option = argv[i];
    if (i + 1 >= argv.size()) {
      error = L"missing value for " + option;
      return false;
    }
    const std::wstring& value = argv[++i];
    long long number = 0;
    bool isNumber = ParseNumber(value, number);
    if (args.listen) {
      ListenArgs& l = args.listenArgs;
      if (option == L"--log") {
        l.logPath = value;
      } else if (option == L"--ready") {
        l.readyPath = value;
      } else if (option == L"--seconds" && isNumber && number > 0) {
        l.seconds = static_cast<unsigned>(number);
      } else if (option == L"--classes") {
        l.classes = SplitList(value);
      } else if (option == L"--messages") {
        l.messages.clear();
        for (const std::wstring& item : SplitList(value)) {
          long long m = 0;
          if (!ParseNumber(item, m)) {
            error = L"bad message number " + item;
            return false;
          }
          l.messages.push_back(static_cast<uint32_t>(m));
        }
      } else {
        error = L"bad option " + option + L" " + value;
        return false;
      }
      continue;
    }
    SendArgs& s = args.sendArgs;
    if (option == L"--class") {
      s.className = value;
      haveTarget = true;
    } else if (option == L"--hwnd" && isNumber) {
      s.hwnd = static_cast<uintptr_t>(number);
      haveTarget = true;
    } else if ((option == L"--copydata" || option == L"--message" || option == L"--command") && isNumber) {
      s.kind = option == L"--copydata" ? SendKind::CopyData
               : option == L"--message" ? SendKind::Message : SendKind::Command;
      s.code = static_cast<uint32_t>(number);
      haveKind = true;
    } else if (option == L"--wparam" && isNumber) {
      s.wParam = static_cast<intptr_t>(number);
    } else if (option == L"--lparam" && isNumber) {
      s.lParam = static_cast<intptr_t>(number);
    } else if (option == L"--data") {
      if (!ParseHexBytes(value, s.data)) {
        error = L"bad hex data";
        return false;
      }
    } else if (option == L"--data-file") {
      if (!ReadFileBytes(value, s.data)) {
        error = L"cannot read " + value;
        return false;
      }
    } else if (option == L"--zeros" && isNumber && number >= 0 && number <= (1 << 20)) {
      s.data.assign(static_cast<size_t>(number), 0);
    } else {
      error = L"bad option " + option + L" " + value;
      return false;
    }
  }
  if (args.listen) {
    if (args.listenArgs.logPath.empty()) {
      error = L"listen needs --log";
      return false;
    }
    if (args.listenArgs.classes.empty())
      args.listenArgs.classes = {L"QUOVIRA", L"Equalizer", L"Crossover", L"Compressor", L"Effector"};
    if (args.listenArgs.messages.empty()) args.listenArgs.messages = {1924, 1925, 1926};
    return true;
  }
  if (!haveTarget || !haveKind) {
    error = L"send needs a target and --copydata, --message or --command";
    return false;
  }
  return true;
}

}  // namespace fxprobe
