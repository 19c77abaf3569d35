#include <windows.h>

#include <vector>

#include "run_program.h"

namespace {

std::wstring widen(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

// Quotes one argument so that the child's runtime splits it back unchanged.
void appendQuoted(std::wstring& commandLine, const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        commandLine += argument;
        return;
    }
    commandLine += L'"';
    std::size_t backslashes = 0;
    for (wchar_t character : argument) {
        if (character == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes are literal unless a quote follows them.
        const std::size_t copies = character == L'"' ? backslashes * 2 + 1 : backslashes;
        commandLine.append(copies, L'\\');
        commandLine += character;
        backslashes = 0;
    }
    commandLine.append(backslashes * 2, L'\\');
    commandLine += L'"';
}

}  // namespace

std::string programPath() {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self, length);
    path = path.substr(0, path.find_last_of(L"\\/") + 1) + widen(ZELVANE_PROGRAM_NAME);
    const int size = WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), utf8.data(), size,
                        nullptr, nullptr);
    return utf8;
}

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const RunOptions& options) {
    std::wstring commandLine;
    appendQuoted(commandLine, widen(program));
    for (const std::string& argument : arguments) {
        commandLine += L' ';
        appendQuoted(commandLine, widen(argument));
    }

    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return {-1, ""};
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    HANDLE childOutput = writeEnd;
    if (!options.outputPath.empty()) {
        childOutput = CreateFileW(widen(options.outputPath).c_str(), GENERIC_WRITE, 0, &inheritable,
                                  OPEN_EXISTING, 0, nullptr);
    }

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = childOutput;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::vector<wchar_t> mutableCommandLine(commandLine.begin(), commandLine.end());
    mutableCommandLine.push_back(L'\0');
    const BOOL started = CreateProcessW(nullptr, mutableCommandLine.data(), nullptr, nullptr, TRUE,
                                        0, nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (childOutput != writeEnd) CloseHandle(childOutput);
    if (!started) {
        CloseHandle(readEnd);
        return {-1, ""};
    }

    ProgramResult result{-1, ""};
    char chunk[65536];
    DWORD count = 0;
    while (ReadFile(readEnd, chunk, sizeof chunk, &count, nullptr) && count > 0) {
        result.output.append(chunk, count);
        if (options.closeAfter != 0 && result.output.size() >= options.closeAfter) break;
        if (result.output.size() > MaxCollectedBytes) {
            TerminateProcess(process.hProcess, 1);
            break;
        }
    }
    CloseHandle(readEnd);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    result.exitCode = static_cast<int>(exitCode);
    if (result.output.size() > MaxCollectedBytes) result.exitCode = StoppedForTooMuchOutput;
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return result;
}
