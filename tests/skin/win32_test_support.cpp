#include "win32_test_support.h"

namespace qvtest {

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    PumpPending();
    if (done()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

void PumpPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

namespace {
const wchar_t kParentClass[] = L"QvSkinTestParent";
}

RecordingParent::RecordingParent() {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kParentClass;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  RegisterClassW(&wc);  // fails harmlessly when already registered
  hwnd_ = CreateWindowExW(0, kParentClass, L"skin test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 420,
                          nullptr, nullptr, GetModuleHandleW(nullptr), this);
}

RecordingParent::~RecordingParent() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

LRESULT CALLBACK RecordingParent::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<RecordingParent*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_USER + 3 && self) {
    const wchar_t* name = reinterpret_cast<const wchar_t*>(lParam);
    HWND sender = FindWindowExW(hwnd, nullptr, nullptr, name);
    self->clicks.push_back({name, sender, sender ? SendMessageW(sender, BM_GETCHECK, 0, 0) : -1});
    if (self->onClick) self->onClick(name);
    return 0;
  }
  if (message == WM_NCDESTROY && self) self->hwnd_ = nullptr;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void PostClick(HWND control, int x, int y) {
  LPARAM at = MAKELPARAM(x, y);
  PostMessageW(control, WM_MOUSEMOVE, 0, at);
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(control, WM_LBUTTONUP, 0, at);
}

std::wstring MakeTempFolder(const wchar_t* tag) {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  std::wstring folder = std::wstring(base) + L"qvskin_" + tag + L"_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

bool WriteTextFile(const std::wstring& path, const std::string& text) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == text.size();
}

bool WriteSolidBitmap(const std::wstring& path, int width, int height, COLORREF colour) {
  int stride = (width * 3 + 3) & ~3;
  std::string pixels(static_cast<size_t>(stride) * height, '\0');
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      char* p = &pixels[static_cast<size_t>(y) * stride + x * 3];
      p[0] = static_cast<char>(GetBValue(colour));
      p[1] = static_cast<char>(GetGValue(colour));
      p[2] = static_cast<char>(GetRValue(colour));
    }
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(pixels.size());
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + info.biSizeImage;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
  bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
  bytes += pixels;
  return WriteTextFile(path, bytes);
}

COLORREF PaintedPixel(HWND hwnd, int x, int y) {
  RECT client;
  GetClientRect(hwnd, &client);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  HGDIOBJ old = SelectObject(memory, bitmap);
  SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  COLORREF colour = GetPixel(memory, x, y);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return colour;
}

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

}  // namespace qvtest
