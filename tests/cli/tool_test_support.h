// A scratch folder, places files written from records, and runs of the tools' entry points with
// their output collected.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "placesfile/place_record.h"

namespace orvalin::testing {

class ScratchDir {
 public:
  ScratchDir() {
    path_ = std::filesystem::temp_directory_path() /
            ("orvalin-tools-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() { std::filesystem::remove_all(path_); }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  static inline int counter_ = 0;
  std::filesystem::path path_;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return std::move(text).str();
}

inline std::string RecordsBytes(const std::vector<PlaceRecord>& records) {
  std::string bytes;
  for (const auto& r : records) {
    const RecordBytes b = EncodeRecord(r);
    bytes.append(b.data(), b.size());
  }
  return bytes;
}

struct ToolRun {
  int status = -1;
  std::string out, err;
};

template <typename Entry>
ToolRun RunEntry(Entry entry, const std::vector<std::string>& args) {
  std::ostringstream out, err;
  ToolRun run;
  run.status = entry(args, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

inline std::size_t LineCount(const std::string& text) {
  std::size_t n = 0;
  for (char c : text) n += c == '\n' ? 1 : 0;
  return n;
}

}  // namespace orvalin::testing
