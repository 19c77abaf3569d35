#include "stdout_capture.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

#include "io/output.h"
#include "platform/platform.h"

StdoutCapture::StdoutCapture() : file_(std::tmpfile()), savedDescriptor_(-1) {
    // As the program does before it writes anything.
    platform::selectJapaneseLocale();
    std::fflush(stdout);
    if (file_ == nullptr) return;
    savedDescriptor_ = dup(1);
    dup2(fileno(file_), 1);
#ifdef _WIN32
    // The temporary file is binary; the program's standard output is text mode.
    _setmode(1, _O_TEXT);
#endif
}

StdoutCapture::~StdoutCapture() {
    restore();
    if (file_ != nullptr) std::fclose(file_);
}

std::string StdoutCapture::written() const {
    std::string bytes;
    if (file_ == nullptr) return bytes;
    std::rewind(file_);
    char chunk[4096];
    std::size_t count;
    while ((count = std::fread(chunk, 1, sizeof chunk, file_)) > 0) bytes.append(chunk, count);
    return bytes;
}

std::string StdoutCapture::finish() {
    finishOutput();
    restore();
    return written();
}

void StdoutCapture::restore() {
    if (savedDescriptor_ < 0) return;
    std::fflush(stdout);
    dup2(savedDescriptor_, 1);
    close(savedDescriptor_);
    savedDescriptor_ = -1;
}
