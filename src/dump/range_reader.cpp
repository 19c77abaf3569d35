#include "dump/range_reader.h"

#include "dump/line_formatter.h"
#include "dump/result_code.h"
#include "io/output.h"

int dumpRange(platform::FileHandle file, std::int64_t& offset, std::int64_t& size) {
    std::int64_t fileSize;
    if (!platform::getFileSize(file, &fileSize)) return SizeQueryFailed;
    if (offset >= fileSize) return InvalidArguments;
    const std::int64_t rest = fileSize - offset;
    if (size >= rest) size = rest;

    // Only the last error tells a failure from a position whose low half is all
    // ones, and a successful call does not clear an earlier error.
    auto high = static_cast<std::int32_t>(static_cast<std::uint64_t>(offset) >> 32);
    const auto low = static_cast<std::int32_t>(static_cast<std::uint32_t>(offset));
    platform::clearLastError();
    platform::setFilePointer(file, low, &high);
    if (platform::lastError() != 0) return ReadFailed;

    LineFormatter formatter;
    initLineFormatter(formatter, offset);

    std::uint8_t block[ReadBlockSize];
    while (size > 0) {
        // Nobody would see the rest: a full disk, or a reader that went away.
        if (outputFailed()) return OutputFailed;
        const std::uint32_t request =
            size <= ReadBlockSize ? static_cast<std::uint32_t>(size) : ReadBlockSize;
        std::uint32_t inHand;
        if (!platform::readFile(file, block, request, &inHand)) return ReadFailed;
        if (inHand == 0) {
            // The file ended early: it shrank after its size was taken, or it is a
            // pseudo-file whose size says more than it holds. The range can never
            // be completed, but every byte read is shown.
            finishLine(formatter);
            return ReadFailed;
        }
        const std::uint8_t* next = block;
        while (inHand > 0) {
            const std::int32_t taken = formatter.step(formatter, next, inHand, size);
            next += taken;
            inHand -= static_cast<std::uint32_t>(taken);
            size -= taken;
        }
    }
    return Success;
}
