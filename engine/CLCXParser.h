#pragma once

// Common lifecycle of the XML adapters: Initialize, Parse, Terminate.
class CLCXParser {
 public:
  virtual ~CLCXParser() = default;
  virtual bool Initialize() { return false; }
  virtual void Terminate() {}
  virtual bool Parse(const char* buffer, const char* bufferId, const char* encoding) {
    (void)buffer; (void)bufferId; (void)encoding;
    return false;
  }
};
