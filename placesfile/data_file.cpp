#include "placesfile/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "placesfile/file_io.h"

namespace orvalin {

DataFileText ReadDataFile(const std::string& path, std::string_view what, std::uintmax_t limit) {
  DataFileText out;
  const auto refuse = [&](std::string_view why) {
    out.problem = std::string(what) + " " + path + " " + std::string(why);
    return out;
  };
  // Non-blocking, so that opening a FIFO with no writer returns at once.
  const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (!fd.IsOpen()) {
    const int error = errno;
    if (error == ENOENT || error == ENOTDIR) return out;
    return refuse("cannot be read: " + std::string(Description(FaultOfErrno(error))));
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) {
    return refuse("cannot be read: " + std::string(Description(FaultOfErrno(errno))));
  }
  const std::string too_large = "is larger than " + std::to_string(limit) + " bytes";
  if (!S_ISREG(st.st_mode)) return refuse("is not a regular file");
  if (static_cast<std::uintmax_t>(st.st_size) > limit) return refuse(too_large);
  const auto size = static_cast<std::size_t>(st.st_size);
  try {
    // A byte more than fstat told shows a file that grows while it is read.
    out.text = ReadFully(fd.get(), size + 1, 0);
  } catch (const Failure& failure) {
    return refuse(std::string("cannot be read: ") + failure.what());
  }
  if (out.text.size() != size) {
    out.text.clear();
    return refuse("changed while it was read");
  }
  out.read = true;
  return out;
}

}  // namespace orvalin
