#include "scripted_file.h"

#include <cstring>

#include "platform/platform.h"

namespace {

ScriptedFile scripted;

constexpr std::uint32_t ScriptedErrorCode = 23;

}  // namespace

ScriptedFile& resetScriptedFile() {
    scripted = ScriptedFile{};
    return scripted;
}

std::uint8_t scriptedByte(std::int64_t position) {
    const auto value = static_cast<std::uint64_t>(position);
    return static_cast<std::uint8_t>(value * 7 + (value >> 8) * 13 + (value >> 32));
}

std::vector<std::uint8_t> scriptedBytes(std::int64_t start, std::int64_t count) {
    std::vector<std::uint8_t> bytes;
    for (std::int64_t i = 0; i < count; ++i) bytes.push_back(scriptedByte(start + i));
    return bytes;
}

namespace platform {

FileHandle openFileForReading(const wchar_t*) { return 1; }

void closeFile(FileHandle) {}

bool getFileSize(FileHandle, std::int64_t* size) {
    if (scripted.sizeQueryFails) {
        scripted.lastError = ScriptedErrorCode;
        return false;
    }
    *size = scripted.size;
    return true;
}

std::uint32_t setFilePointer(FileHandle, std::int32_t low, std::int32_t* high) {
    if (scripted.positioningFails) {
        scripted.lastError = ScriptedErrorCode;
        return InvalidSetFilePointer;
    }
    // Like the Windows call, success leaves the last error as it was.
    scripted.position = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(static_cast<std::uint32_t>(*high)) << 32) |
        static_cast<std::uint32_t>(low));
    scripted.positionedTo = scripted.position;
    return static_cast<std::uint32_t>(low);
}

std::uint32_t lastError() { return scripted.lastError; }

void clearLastError() { scripted.lastError = 0; }

bool readFile(FileHandle, void* buffer, std::uint32_t request, std::uint32_t* bytesRead) {
    scripted.requests.push_back(request);
    std::int64_t count = request;
    if (scripted.largestRead != 0 && count > scripted.largestRead) count = scripted.largestRead;
    if (scripted.failReadAt >= 0 && scripted.position + count > scripted.failReadAt) {
        scripted.lastError = ScriptedErrorCode;
        return false;
    }
    const std::int64_t end = scripted.dataEndsAt >= 0 ? scripted.dataEndsAt : scripted.size;
    if (scripted.position + count > end)
        count = end > scripted.position ? end - scripted.position : 0;
    const std::vector<std::uint8_t> bytes = scriptedBytes(scripted.position, count);
    if (!bytes.empty()) std::memcpy(buffer, bytes.data(), bytes.size());
    scripted.position += count;
    *bytesRead = static_cast<std::uint32_t>(count);
    return true;
}

}  // namespace platform
