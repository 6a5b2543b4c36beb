// Construction, creation (WM_CREATE) and the accelerator table.
#include <vector>

#include "app/shell/accelerator_table.h"
#include "app/shell/command_line.h"
#include "app/shell/install_folder.h"
#include "app/shell/window_ids.h"
#include "app/shell/window_settings.h"
#include "app/skin/skin_ini_failure_win32.h"
#include "app/window/hand_over.h"
#include "app/window/main_wnd.h"
#include "app/window/player_app.h"
#include "app/window/resource_ids.h"
#include "platform/text/utf16.h"

namespace qv {

namespace {

std::u16string ProgramPath() {
  wchar_t path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::u16string(AsU16(path), length) : std::u16string();
}

// Restores the cursor shown before, on every way out of Create.
class WaitCursorScope {
 public:
  WaitCursorScope() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursorScope() { SetCursor(previous_); }

 private:
  HCURSOR previous_;
};

}  // namespace

CMainWnd::CMainWnd() {
  engine_ = Engine_Create();
  infoEngine_ = Engine_Create();
  enginePort_ = std::make_unique<EngineHandlePort>(engine_);
  infoPort_ = std::make_unique<EngineHandlePort>(infoEngine_);
}

CMainWnd::~CMainWnd() {
  playlist_.reset();
  if (engine_) Engine_Destroy(engine_);
  if (infoEngine_) Engine_Destroy(infoEngine_);
  options_.reset();
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
  if (trayIcon_) DestroyIcon(trayIcon_);
  // The controls' windows went with the main window; the objects go now.
  controls_.buttons.clear();
  controls_.radios.clear();
}

std::unique_ptr<COptions> CMainWnd::MakeOptions() { return std::make_unique<COptions>(); }

HACCEL CMainWnd::Accelerators() {
  if (!accelerators_) {
    std::vector<ACCEL> table;
    for (const AcceleratorEntry& a : kAccelerators)
      table.push_back({static_cast<BYTE>(FVIRTKEY | (a.control ? FCONTROL : 0)), a.key, a.command});
    accelerators_ = CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
  }
  return accelerators_;
}

bool CMainWnd::RegisterWindowClass() {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = &CMainWnd::WindowProc;
  wc.hInstance = GetAppInstance();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kMainWindowClass;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

int CMainWnd::Create(const wchar_t* commandLine, HWND parent, DWORD style) {
  WaitCursorScope wait;
  if (!RegisterWindowClass()) return 0;
  storedPlacement_ = ReadStoredPlacement(SystemSettingsStore());
  volume_ = ReadStoredVolume(SystemSettingsStore());
  GiveEngineVolume(volume_);

  // The skinned controls are child windows: the display paints around them.
  CreateWindowExW(WS_EX_ACCEPTFILES, kMainWindowClass, L"QuoviraPlayer", style | WS_SYSMENU | WS_CLIPCHILDREN,
                  storedPlacement_.left, storedPlacement_.top, kMainWindowWidth, kMainWindowHeight, parent, nullptr,
                  GetAppInstance(), this);
  if (!hwnd_) return 0;
  RestorePlacement();
  if (!associations_.Integrate(0)) return 0;
  OpenStartupItems(commandLine);
  SetWindowRgn(hwnd_, CreateRoundRectRgn(0, 0, kMainWindowWidth + 1, kMainWindowHeight, 4, 4), TRUE);
  // Names a later start handed over while this one was still coming up.
  if (!pendingNames_.empty()) PostMessageW(hwnd_, msg::kPendingNames, 0, 0);
  started_ = true;
  return 1;
}

void CMainWnd::OpenStartupItems(const wchar_t* commandLine) {
  // "R" (a restart by the agent) and lines without names count as empty:
  // the last playlist comes back and is saved again at exit.
  if (HasCommandLineNames(commandLine ? AsU16(commandLine) : u""))
    ForwardCommandLine(hwnd_, commandLine);
  else
    playlist_->LoadDefaultPlaylistAtStart();
}

LRESULT CMainWnd::OnCreate() {
  options_ = MakeOptions();
  PlaylistServices services;
  services.engine = enginePort_.get();
  services.infoEngine = infoPort_.get();
  services.host = this;
  services.options = options_.get();
  services.tickCount = [] { return static_cast<uint32_t>(GetTickCount()); };
  services.programPath = ProgramPath();
  playlist_ = std::make_unique<PlaylistController>(services);

  options_->LoadSettings(engine_);
  display_.Build(AsWide(options_->SkinFile));
  Engine_SetNotifyWindow(engine_, hwnd_);
  SetTimer(hwnd_, timer::kRefresh, timer::kRefreshMs, nullptr);
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(LoadIconW(GetAppInstance(), MAKEINTRESOURCEW(kProgramIcon))));
  view_.Init(hwnd_);
  banner_.Init(hwnd_);

  std::u16string skinIni = ControlLayerFile(ReadInstallFolder(SystemSettingsStore()));
  std::wstring path(AsWide(skinIni.c_str()));
  if (!ControlLayerReadable(path)) ExitForMissingSkinIni(hwnd_);
  controlLayer_.Load(path.c_str());
  BuildSkinControls(ReadControlLayerFrom(controlLayer_), hwnd_, GetAppInstance(), controls_);
  modes_.ReadFromEngine(engine_, controls_);

  speaker_ = options_->Speaker != 0;
  if (HWND spk = controls_.radioByEntry[kSpeakerRadioEntry]) SendMessageW(spk, BM_SETCHECK, speaker_ ? 1 : 0, 0);
  if (HWND ear = controls_.radioByEntry[kEarphoneRadioEntry]) SendMessageW(ear, BM_SETCHECK, speaker_ ? 0 : 1, 0);

  options_->TopMost = options_->TopMost ? 0 : 1;
  ToggleTopMost();
  ready_ = true;
  ShowWindow(hwnd_, SW_SHOW);
  return 0;
}

}  // namespace qv
