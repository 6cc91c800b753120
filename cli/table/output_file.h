// The files the tools write besides standard output (orvalin-places export --output, orvalin-table
// --plot): never a file the run reads, and written whole or not at all.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace orvalin {

class OutputFile {
 public:
  // `option` names the file in messages. BadUsage when `path` is one of `inputs`: the same name,
  // or the same file by device and inode (a link, another spelling of its folder).
  OutputFile(std::string option, std::string path, std::vector<std::string> inputs);

  const std::string& Path() const { return path_; }

  // What `write` writes, to a temporary file beside the target of `path`, flushed and renamed
  // over it once whole: a run that fails leaves the file that was there. A new file gets the
  // mode the umask leaves, a replaced one keeps its own. A name that holds no regular file (a
  // terminal, /dev/null, a pipe) is written directly. ToolFailure when it cannot be written.
  void Write(const std::function<void(std::ostream&)>& write) const;

 private:
  void RefuseInputs() const;
  void WriteDirectly(const std::function<void(std::ostream&)>& write) const;

  std::string option_;
  std::string path_;
  std::vector<std::string> inputs_;
};

}  // namespace orvalin
