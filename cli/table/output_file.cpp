#include "cli/table/output_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <filesystem>
#include <fstream>
#include <streambuf>

#include "cli/args/tool_errors.h"
#include "common/failure.h"
#include "placesfile/file_io.h"
#include "placesfile/leftovers.h"
#include "placesfile/places_lock.h"

namespace orvalin {
namespace {

constexpr std::size_t kBlock = 1 << 16;  // bytes gathered before a write
constexpr mode_t kNewFileMode = 0666;    // less the umask, as any program's new file

// Two names of one file: the same inode, or, for a file not there yet, the same path once the
// links of its folders are followed.
bool SameFile(const std::string& a, const std::string& b) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (fs::equivalent(a, b, error)) return true;
  std::error_code error_a, error_b;
  const fs::path name_a = fs::weakly_canonical(fs::absolute(a, error_a), error_a);
  const fs::path name_b = fs::weakly_canonical(fs::absolute(b, error_b), error_b);
  return !error_a && !error_b && name_a == name_b;
}

// A stream's buffer onto a file descriptor, written at increasing offsets; the failure of a write
// is kept, since a stream would only set its bad bit.
class DescriptorBuffer : public std::streambuf {
 public:
  explicit DescriptorBuffer(int fd) : fd_(fd), block_(kBlock) { Empty(); }
  void ThrowAnyFailure() const {
    if (failure_) std::rethrow_exception(failure_);
  }

 protected:
  int_type overflow(int_type c) override {
    if (!Drain()) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }
  int sync() override { return Drain() ? 0 : -1; }

 private:
  void Empty() { setp(block_.data(), block_.data() + block_.size()); }
  bool Drain() {
    if (failure_) return false;
    const auto size = static_cast<std::size_t>(pptr() - pbase());
    try {
      WriteFully(fd_, pbase(), size, at_);
    } catch (const Failure&) {
      failure_ = std::current_exception();
      return false;
    }
    at_ += static_cast<off_t>(size);
    Empty();
    return true;
  }

  int fd_;
  off_t at_ = 0;
  std::vector<char> block_;
  std::exception_ptr failure_;
};

// The mode of the file the new one replaces, or that of a new file.
mode_t ModeFor(int dir, const std::string& name) {
  struct stat old {};
  if (::fstatat(dir, name.c_str(), &old, 0) == 0) return old.st_mode & 07777;
  const mode_t umask = ::umask(0);
  ::umask(umask);
  return kNewFileMode & ~umask;
}

void WriteTemporary(int fd, const std::function<void(std::ostream&)>& write) {
  DescriptorBuffer buffer(fd);
  std::ostream out(&buffer);
  write(out);
  out.flush();
  buffer.ThrowAnyFailure();
  if (!out) Fail(Fault::DeviceIO);
  if (::fsync(fd) != 0) FailFromErrno(errno);
}

}  // namespace

OutputFile::OutputFile(std::string option, std::string path, std::vector<std::string> inputs)
    : option_(std::move(option)), path_(std::move(path)), inputs_(std::move(inputs)) {
  if (path_.empty()) throw BadUsage(option_ + " needs a file name");
  RefuseInputs();
}

void OutputFile::RefuseInputs() const {
  for (const std::string& input : inputs_) {
    if (!SameFile(path_, input)) continue;
    throw BadUsage(option_ + " \"" + path_ + "\" would overwrite " + input +
                   ", which this run reads; nothing was written");
  }
}

void OutputFile::WriteDirectly(const std::function<void(std::ostream&)>& write) const {
  std::ofstream out(path_, std::ios::binary | std::ios::trunc);
  if (out) write(out);
  out.close();
  if (!out) throw ToolFailure(path_ + ": cannot be written");
}

void OutputFile::Write(const std::function<void(std::ostream&)>& write) const {
  RefuseInputs();  // again: the name may lead elsewhere by now
  struct stat st {};
  if (::stat(path_.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    WriteDirectly(write);
    return;
  }
  try {
    const TargetFolder target = TargetFolder::Of(path_);
    const int dir = target.dir.get();
    RemoveLeftovers(dir, target.name);
    const mode_t mode = ModeFor(dir, target.name);
    TemporaryFile temp = CreateTemporary(dir, target.name);
    try {
      if (::fchmod(temp.fd.get(), mode) != 0) FailFromErrno(errno);
      WriteTemporary(temp.fd.get(), write);
      if (::renameat(dir, temp.name.c_str(), dir, target.name.c_str()) != 0) {
        FailFromErrno(errno);
      }
    } catch (...) {
      ::unlinkat(dir, temp.name.c_str(), 0);
      throw;
    }
    // The folder's entry must reach the disk too for the file to survive a crash.
    ::fsync(dir);
  } catch (const Failure& f) {
    throw ToolFailure(path_ + ": cannot be written (" + f.what() + ")");
  }
}

}  // namespace orvalin
