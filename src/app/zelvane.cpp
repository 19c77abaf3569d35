#include "app/zelvane.h"

#include <cstdint>

#include "app/number_parser.h"
#include "dump/range_reader.h"
#include "dump/result_code.h"
#include "io/output.h"
#include "platform/platform.h"

namespace {

const wchar_t UsageText[] =
    L"\u6307\u5B9A\u3057\u305F\u30D5\u30A1\u30A4\u30EB\u3092\u30C0\u30F3\u30D7\u3059\u308B\n"
    L"2 GB \u4EE5\u4E0A\u306E\u30D5\u30A1\u30A4\u30EB\u30B5\u30A4\u30BA\u306B\u5BFE\u5FDC\n"
    L"\n"
    L"\u66F8\u5F0F\n"
    L"Zelvane <\u30D5\u30A1\u30A4\u30EB\u30FB\u30D1\u30B9> <\u30AA\u30D5\u30BB\u30C3\u30C8> "
    L"<\u30B5\u30A4\u30BA>\n"
    L"\n"
    L"\u30AA\u30D5\u30BB\u30C3\u30C8\u3068\u30B5\u30A4\u30BA\u306F 8 \u9032\u6570\u307E\u305F"
    L"\u306F 16 \u9032\u6570\u3067\u3082\u6307\u5B9A\u53EF\n"
    L"    32 = 0x20 (16 \u9032\u6570\u3002\u5148\u982D\u306B 0x \u3092\u4ED8\u3051\u308B)\n"
    L"    32 =  040 ( 8 \u9032\u6570\u3002\u5148\u982D\u306B 0 \u3092\u4ED8\u3051\u308B)\n";

constexpr int ExpectedArgumentCount = 4;  // program, file, offset, size

int dumpFile(const wchar_t* path, std::int64_t offset, std::int64_t size) {
    const platform::FileHandle file = platform::openFileForReading(path);
    if (file == platform::InvalidFileHandle) return OpenFailed;
    const int result = dumpRange(file, offset, size);
    platform::closeFile(file);
    return result;
}

}  // namespace

int runZelvane(int argumentCount, const wchar_t* const* arguments) {
    platform::selectJapaneseLocale();
    if (argumentCount == 1) {
        writeLine(UsageText);
        finishOutput();
        return InvalidArguments;
    }
    if (argumentCount != ExpectedArgumentCount) return InvalidArguments;

    // Both numbers are checked before the file system is touched.
    std::int64_t offset;
    if (!parseWholeNumber(arguments[2], &offset) || offset < 0) return InvalidArguments;
    std::int64_t size;
    if (!parseWholeNumber(arguments[3], &size) || size <= 0) return InvalidArguments;

    const int result = dumpFile(arguments[1], offset, size);
    // A dump cut short by a full disk, or by a closed pipe when SIGPIPE is ignored,
    // must not pass for success.
    const bool written = finishOutput();
    if (result == Success && !written) return OutputFailed;
    return result;
}
