// Failures that a trap reports: a C++ exception carrying the standard description.
#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace orvalin {

enum class Fault {
  Overflow,          // 16-bit range, a number beyond a double, a non-finite result
  DivisionByZero,
  InvalidCall,       // an invalid operation or argument
  BadRecordNumber,
  PathNotFound,
  PermissionDenied,
  DiskFull,
  DeviceIO,
  PlacesFileBusy,     // another program held the places file's lock for too long
  PlacesFileChanged,  // the file, the record about to be overwritten or the lock changed under us
  PlacesFileUnlockable,  // the lock file cannot serve as a lock: the failure says which and why
  PlacesFileNotOpen,     // a read or write of the places file before it was opened
  PlacesFileSharedLink,  // a link another user may have planted: the failure names it
  OutOfMemory,
};

// The description a trap shows, e.g. "Overflow".
std::string_view Description(Fault fault);

class Failure : public std::exception {
 public:
  explicit Failure(Fault fault);
  // The description followed by ": " and `detail`, for a fault that must say what it met.
  Failure(Fault fault, std::string_view detail);
  Fault fault() const { return fault_; }
  // The text a trap reports: the description, and the detail when there is one.
  const char* what() const noexcept override { return text_.c_str(); }

 private:
  Fault fault_;
  std::string text_;
};

[[noreturn]] void Fail(Fault fault);
[[noreturn]] void Fail(Fault fault, std::string_view detail);

// "<description> in line<NumberText(step)> of <label>", e.g. "Overflow in line 600 of ORVALIN".
std::string ReportText(std::string_view description, int step, std::string_view label);

}  // namespace orvalin
