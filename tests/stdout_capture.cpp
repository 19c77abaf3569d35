#include "stdout_capture.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "io/output.h"
#include "platform/platform.h"

namespace {

// The Windows program writes to the standard output handle, not to descriptor 1.
void pointStandardOutputHandleAtDescriptor1() {
#ifdef _WIN32
    SetStdHandle(STD_OUTPUT_HANDLE, reinterpret_cast<HANDLE>(_get_osfhandle(1)));
#endif
}

}  // namespace

StdoutCapture::StdoutCapture() : file_(std::tmpfile()), savedDescriptor_(-1) {
    // As the program does before it writes anything.
    platform::selectJapaneseLocale();
    std::fflush(stdout);
    if (file_ == nullptr) return;
    savedDescriptor_ = dup(1);
    dup2(fileno(file_), 1);
    pointStandardOutputHandleAtDescriptor1();
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
    pointStandardOutputHandleAtDescriptor1();
    close(savedDescriptor_);
    savedDescriptor_ = -1;
}
