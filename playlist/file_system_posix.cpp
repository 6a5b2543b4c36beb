// The native stand-in: POSIX calls, with "\" in paths standing for "/".
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/files/wide_file.h"
#include "platform/text/utf16.h"
#include "playlist/file_system.h"

namespace qv {

namespace {

std::string NativePath(std::u16string_view path) {
  std::string name = ToUtf8(path);
  for (char& c : name)
    if (c == '\\') c = '/';
  return name;
}

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

class PosixFileSystem : public PlaylistFileSystem {
 public:
  PathKind Inspect(std::u16string_view path) override {
    struct stat st;
    if (path.empty() || ::stat(NativePath(path).c_str(), &st) != 0) return PathKind::Missing;
    return S_ISDIR(st.st_mode) ? PathKind::Folder : PathKind::File;
  }

  bool List(std::u16string_view folder, std::vector<FolderItem>& out) override {
    out.clear();
    std::string base = NativePath(folder);
    DIR* dir = ::opendir(base.c_str());
    if (!dir) return false;
    while (dirent* d = ::readdir(dir)) {
      FolderItem item;
      item.name = FromUtf8(d->d_name);
      std::string full = base + "/" + d->d_name;
      struct stat link;
      struct stat target;
      if (::lstat(full.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        item.reparsePoint = true;
        item.folder = ::stat(full.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
      } else {
        item.folder = ::stat(full.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
      }
      out.push_back(std::move(item));
    }
    ::closedir(dir);
    return true;
  }

  bool ReadFile(std::u16string_view path, size_t maxBytes, std::vector<uint8_t>& out) override {
    return ReadWholeFile(FromUtf8(NativePath(path)), maxBytes, out);
  }

  bool ReplaceFile(std::u16string_view path, const std::vector<uint8_t>& bytes) override {
    std::string target = NativePath(path);
    size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
      char name[32];
      std::snprintf(name, sizeof name, "~qv%08x.tmp", static_cast<unsigned>(::getpid()) * 7919u + attempt);
      std::string temp = folder + name;
      int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
      if (fd < 0) {
        if (errno == EEXIST) continue;
        return false;
      }
      bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
      ok = ::close(fd) == 0 && ok;
      ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
      if (!ok) ::unlink(temp.c_str());
      return ok;
    }
    return false;
  }

  bool RemoveFile(std::u16string_view path) override {
    return ::unlink(NativePath(path).c_str()) == 0 || errno == ENOENT;
  }
};

}  // namespace

PlaylistFileSystem& SystemPlaylistFileSystem() {
  static PosixFileSystem files;
  return files;
}

}  // namespace qv
