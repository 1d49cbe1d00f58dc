#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace quorvex::internal {

// The receiving authority's answer to one CRS message: the OECD CRS Status
// Message (urn:oecd:ties:csm:v2, and v1, whose elements are the same).
struct CLCStatusMessage {
  struct Error {
    bool fileError = false;
    std::string code;
    std::string details;
    std::vector<std::string> docRefIds;  // DocRefIDInError, record errors
    std::vector<std::string> fieldPaths;
  };

  std::string messageRefId;  // of the status message itself
  std::string timestamp;
  std::string transmittingCountry;
  std::string receivingCountry;
  std::string originalMessageRefId;
  std::string status;  // "Accepted" or "Rejected"
  std::vector<std::string> validatedBy;
  std::vector<Error> errors;  // file and record errors in document order

  // Reads a status message by namespace and element names (the OECD schema of
  // the status message is not built in). Never fetches anything and refuses
  // a document type declaration. False with `error` (its position included)
  // when the bytes are not well-formed or not a complete status message.
  static bool Parse(const char* data, std::size_t size, CLCStatusMessage& out, std::string& error);

  // What the institution does about one error of this answer, in English.
  // docTypeIndic is the record's as filed, empty when the history holds no
  // record of the answered message with that DocRefId.
  std::string Advice(bool fileError, const std::string& docRefId, const std::string& docTypeIndic) const;
};
}  // namespace quorvex::internal
