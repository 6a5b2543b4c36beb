#include "tools/qvrender/render_args.h"

#include <cerrno>
#include <cstdlib>

#include "platform/text/utf16.h"

namespace qvrender {

const char kUsage[] =
    "usage: qvrender [options] INPUT\n"
    "  -o FILE                  write everything handed to the output device as a WAV file\n"
    "  --device virtual|waveout virtual (default): completes blocks at once (in real time while a --seek-at\n"
    "                           or --stop-at waits for its position); waveout: the system device (Win32)\n"
    "  --seek MS                Engine_Seek(MS) after opening, before Engine_Play; reports seek_result\n"
    "                           and seek_position_ms (Engine_GetPosition right after it)\n"
    "  --seek-at AT:MS          once the position reaches AT ms, Engine_Seek(MS) (repeatable)\n"
    "  --stop-at MS             Engine_Stop once the position reaches MS\n"
    "  --option NAME=VALUE      an EngineOptions field by its registry value name\n"
    "  --volume N               Engine_SetVolume(N); default 256\n"
    "  --effect-params FILE     Engine_SetEffectParams with the raw 1240-byte record in FILE, before playing\n"
    "  --small-effect T:ON:V1:V2  Engine_SetEffectByType(T, {ON, V1, V2}) (repeatable)\n"
    "  --qbs-params FILE        Engine_SetSurroundParams with the raw 40-byte QbsParams record in FILE\n"
    "  --spectrum MODE          the spectrum feed on with MODE; reports \"spectrum\", the levels after the last block\n"
    "  --info                   open and report; do not play\n";

namespace {

bool ParseInt(const std::string& text, int* value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != 0 || v < INT32_MIN || v > INT32_MAX) return false;
  *value = static_cast<int>(v);
  return true;
}

}  // namespace

bool ParseArgs(const std::vector<std::u16string>& args, RenderArgs* out, std::string* error) {
  auto value = [&](size_t& i, const std::string& flag, std::u16string* v) {
    if (i + 1 >= args.size()) {
      *error = flag + " needs a value";
      return false;
    }
    *v = args[++i];
    return true;
  };
  auto number = [&](size_t& i, const std::string& flag, int* n) {
    std::u16string v;
    if (!value(i, flag, &v)) return false;
    if (!ParseInt(qv::ToUtf8(v), n)) {
      *error = flag + ": not a number: " + qv::ToUtf8(v);
      return false;
    }
    return true;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string arg = qv::ToUtf8(args[i]);
    if (arg == "-o") {
      if (!value(i, arg, &out->output)) return false;
    } else if (arg == "--device") {
      std::u16string v;
      if (!value(i, arg, &v)) return false;
      if (v == u"virtual") {
        out->systemDevice = false;
      } else if (v == u"waveout") {
        out->systemDevice = true;
      } else {
        *error = "--device: virtual or waveout";
        return false;
      }
    } else if (arg == "--seek") {
      int ms = 0;
      if (!number(i, arg, &ms)) return false;
      out->seek = ms;
    } else if (arg == "--seek-at") {
      std::u16string v;
      if (!value(i, arg, &v)) return false;
      const std::string text = qv::ToUtf8(v);
      const size_t colon = text.find(':');
      int at = 0, to = 0;
      if (colon == std::string::npos || !ParseInt(text.substr(0, colon), &at) ||
          !ParseInt(text.substr(colon + 1), &to)) {
        *error = "--seek-at: AT:MS";
        return false;
      }
      out->seekAt.emplace_back(at, to);
    } else if (arg == "--stop-at") {
      int ms = 0;
      if (!number(i, arg, &ms)) return false;
      out->stopAt = ms;
    } else if (arg == "--option") {
      std::u16string v;
      if (!value(i, arg, &v)) return false;
      const std::string text = qv::ToUtf8(v);
      const size_t eq = text.find('=');
      int n = 0;
      if (eq == std::string::npos || !ParseInt(text.substr(eq + 1), &n)) {
        *error = "--option: NAME=VALUE";
        return false;
      }
      out->options.emplace_back(text.substr(0, eq), n);
    } else if (arg == "--volume") {
      if (!number(i, arg, &out->volume)) return false;
    } else if (arg == "--effect-params") {
      if (!value(i, arg, &out->effectParams)) return false;
    } else if (arg == "--small-effect") {
      std::u16string v;
      if (!value(i, arg, &v)) return false;
      std::string text = qv::ToUtf8(v) + ":";
      std::array<int, 4> fields{};
      size_t count = 0;
      for (size_t start = 0, colon; (colon = text.find(':', start)) != std::string::npos; start = colon + 1) {
        if (count == fields.size() || !ParseInt(text.substr(start, colon - start), &fields[count])) {
          count = 0;
          break;
        }
        ++count;
      }
      if (count != fields.size()) {
        *error = "--small-effect: TYPE:ON:V1:V2";
        return false;
      }
      out->smallEffects.push_back(fields);
    } else if (arg == "--qbs-params") {
      if (!value(i, arg, &out->qbsParams)) return false;
    } else if (arg == "--spectrum") {
      int mode = 0;
      if (!number(i, arg, &mode)) return false;
      out->spectrumMode = mode;
    } else if (arg == "--info") {
      out->info = true;
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      *error = "unknown option " + arg;
      return false;
    } else if (out->input.empty()) {
      out->input = args[i];
    } else {
      *error = "more than one INPUT";
      return false;
    }
  }
  if (out->input.empty()) {
    *error = "no INPUT";
    return false;
  }
  return true;
}

}  // namespace qvrender
