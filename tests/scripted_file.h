#pragma once

// A stand-in for the platform's file layer, for tests of the range reader: a file
// whose content is computed from the position and whose every call can be made
// to fail. The platform file functions act on scriptedFile().

#include <cstdint>
#include <vector>

struct ScriptedFile {
    std::int64_t size = 0;
    bool sizeQueryFails = false;
    bool positioningFails = false;
    std::uint32_t lastError = 0;    // set it to leave a stale error behind
    std::int64_t failReadAt = -1;   // a read that reaches this position fails
    std::int64_t dataEndsAt = -1;   // reads return no bytes from here on (the file shrank)
    std::uint32_t largestRead = 0;  // reads deliver at most this many bytes; 0: no limit

    // What the reader did.
    std::int64_t position = 0;
    std::int64_t positionedTo = -1;
    std::vector<std::uint32_t> requests;
};

/// Resets the stand-in and returns it for the test to script.
ScriptedFile& resetScriptedFile();

/// The byte found at position in every scripted file.
std::uint8_t scriptedByte(std::int64_t position);

/// The scripted file's bytes [start, start + count).
std::vector<std::uint8_t> scriptedBytes(std::int64_t start, std::int64_t count);
