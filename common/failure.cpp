#include "common/failure.h"

namespace orvalin {

std::string_view Description(Fault fault) {
  switch (fault) {
    case Fault::Overflow: return "Overflow";
    case Fault::DivisionByZero: return "Division by zero";
    case Fault::InvalidCall: return "Invalid procedure call or argument";
    case Fault::BadRecordNumber: return "Bad record number";
    case Fault::PathNotFound: return "Path not found";
    case Fault::PermissionDenied: return "Permission denied";
    case Fault::DiskFull: return "Disk full";
    case Fault::DeviceIO: return "Device I/O error";
    case Fault::PlacesFileBusy: return "Places file busy";
    case Fault::PlacesFileChanged: return "Places file changed by another program";
    case Fault::PlacesFileUnlockable: return "Places file cannot be locked";
    case Fault::PlacesFileNotOpen: return "Places file not open";
    case Fault::PlacesFileSharedLink: return "Places file is a link in a shared folder";
    case Fault::OutOfMemory: return "Out of memory";
  }
  return "Invalid procedure call or argument";
}

Failure::Failure(Fault fault) : fault_(fault), text_(Description(fault)) {}

Failure::Failure(Fault fault, std::string_view detail) : Failure(fault) {
  text_ += ": ";
  text_ += detail;
}

void Fail(Fault fault) { throw Failure(fault); }

void Fail(Fault fault, std::string_view detail) { throw Failure(fault, detail); }

std::string ReportText(std::string_view description, int step, std::string_view label) {
  // Step numbers are never negative; a non-negative whole number's general text is a blank and
  // its digits.
  std::string text(description);
  text += " in line ";
  text += std::to_string(step);
  text += " of ";
  text += label;
  return text;
}

}  // namespace orvalin
