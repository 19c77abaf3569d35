#include "dump/line_formatter.h"

#include "dump/line_columns.h"
#include "io/output.h"

namespace {

// "アドレス" takes two display cells per character, so it spans the same width as
// the 17-character address field below it.
constexpr wchar_t ColumnHeader[] =
    L"         \u30A2\u30C9\u30EC\u30B9  00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F"
    L"  0123456789ABCDEF\n";

constexpr wchar_t AddressFormat[] = L"%08X:%08X  ";

void printLine(LineFormatter& formatter) {
    const std::uint64_t address = formatter.address;
    writeFormatted(AddressFormat, static_cast<std::uint32_t>(address >> 32),
                   static_cast<std::uint32_t>(address) & ~std::uint32_t{0xF});
    formatter.address += static_cast<std::uint64_t>(formatter.column);
    formatter.column = 0;
    writeLine(formatter.line, LineLength);
}

// The first and the last line of a range, and a line split between two reads.
// Kept out of formatBytes, so that the way of most lines saves fewer registers.
[[gnu::noinline]] std::int32_t formatPartOfLine(LineFormatter& formatter, const std::uint8_t* bytes,
                                                std::uint32_t inHand, std::int64_t rangeLeft) {
    std::int64_t count = BytesPerLine - formatter.column;
    if (inHand < count) count = inHand;
    if (rangeLeft < count) count = rangeLeft;
    const auto taken = static_cast<std::int32_t>(count);
    fillColumns(formatter.hexColumns + HexColumnWidth * formatter.column,
                formatter.textColumns + formatter.column, bytes, taken);
    formatter.column += taken;

    if (formatter.column < BytesPerLine && rangeLeft - taken > 0) return taken;
    finishLine(formatter);
    return taken;
}

}  // namespace

void initLineFormatter(LineFormatter& formatter, std::int64_t startOffset) {
    for (int i = 0; i < LineLength; ++i) formatter.line[i] = L' ';
    formatter.line[LineLength] = L'\0';
    formatter.hexColumns = formatter.line;
    formatter.textColumns = formatter.line + TextColumnsStart;
    formatter.column = 0;
    formatter.step = beginDump;
    formatter.address = static_cast<std::uint64_t>(startOffset);
}

std::int32_t beginDump(LineFormatter& formatter, const std::uint8_t* bytes, std::uint32_t inHand,
                       std::int64_t rangeLeft) {
    writeFormatted(ColumnHeader);
    // The columns before the first byte stay as initLineFormatter left them: blank.
    formatter.column = static_cast<std::int32_t>(formatter.address % BytesPerLine);
    formatter.step = formatBytes;
    return formatBytes(formatter, bytes, inHand, rangeLeft);
}

std::int32_t formatBytes(LineFormatter& formatter, const std::uint8_t* bytes, std::uint32_t inHand,
                         std::int64_t rangeLeft) {
    if (formatter.column != 0 || inHand < BytesPerLine || rangeLeft < BytesPerLine) {
        return formatPartOfLine(formatter, bytes, inHand, rangeLeft);
    }
    // Most lines: whole lines in hand for an empty line, each printed at once.
    std::int32_t taken = 0;
    do {
        fillWholeLine(formatter.hexColumns, formatter.textColumns, bytes + taken);
        formatter.column = BytesPerLine;
        printLine(formatter);
        taken += BytesPerLine;
    } while (inHand - static_cast<std::uint32_t>(taken) >= BytesPerLine &&
             rangeLeft - taken >= BytesPerLine);
    return taken;
}

void finishLine(LineFormatter& formatter) {
    if (formatter.column == 0) return;
    for (int column = formatter.column; column < BytesPerLine; ++column) {
        formatter.hexColumns[HexColumnWidth * column] = L' ';
        formatter.hexColumns[HexColumnWidth * column + 1] = L' ';
        formatter.textColumns[column] = L' ';
    }
    printLine(formatter);
}
