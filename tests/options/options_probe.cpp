// Loads the options from the registry and prints every value as
// "name=value"; with "save" it then saves them back unchanged. Used by the
// seeded-registry test.
#include <cstdio>
#include <cstring>
#include <string>

#include "options/win32_options.h"
#include "platform/text/utf16.h"
#include "tests/options/options_test_support.h"

int wmain(int argc, wchar_t** argv) {
  qv::EngineHandle engine = qv::Engine_Create();
  qv::CWin32Options options;
  options.LoadSettings(engine);
  for (const qv::test::DwordOption& d : qv::test::DwordOptions())
    std::printf("%s=%d\n", qv::ToUtf8(d.name).c_str(), static_cast<int>(d.field(options)));
  for (const qv::test::TextOption& t : qv::test::TextOptions())
    std::printf("%s=%s\n", qv::ToUtf8(t.name).c_str(), qv::ToUtf8(t.field(options)).c_str());
  int rc = 0;
  if (argc > 1 && std::wcscmp(argv[1], L"save") == 0) rc = options.SaveSettings(engine) == 0 ? 0 : 1;
  qv::Engine_Destroy(engine);
  return rc;
}
