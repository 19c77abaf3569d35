#pragma once

// Redirects the process's standard output into a temporary file for the life of
// the object, so a test sees the exact bytes the output helpers produce.

#include <cstdio>
#include <string>

class StdoutCapture {
   public:
    StdoutCapture();
    ~StdoutCapture();
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

    /// Bytes that have reached the file so far, without flushing the helpers.
    std::string written() const;

    /// Flushes the output helpers, restores standard output and returns all bytes.
    std::string finish();

   private:
    void restore();

    std::FILE* file_;
    int savedDescriptor_;
};
