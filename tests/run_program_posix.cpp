#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstring>

#include "run_program.h"

extern char** environ;

std::string programPath() {
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path(self, length > 0 ? static_cast<std::size_t>(length) : 0);
    return path.substr(0, path.rfind('/') + 1) + ZELVANE_PROGRAM_NAME;
}

namespace {

// The environment of this process with the settings added, each replacing a
// variable of its name.
std::vector<std::string> childEnvironment(const std::vector<std::string>& settings) {
    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const char* equals = std::strchr(*variable, '=');
        const std::size_t nameLength =
            equals != nullptr ? static_cast<std::size_t>(equals - *variable) + 1 : 0;
        bool replaced = false;
        for (const std::string& setting : settings)
            replaced = replaced || setting.compare(0, nameLength, *variable, nameLength) == 0;
        if (!replaced) environment.emplace_back(*variable);
    }
    environment.insert(environment.end(), settings.begin(), settings.end());
    return environment;
}

std::vector<char*> pointersTo(std::vector<std::string>& words) {
    std::vector<char*> pointers;
    for (std::string& word : words) pointers.push_back(word.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

// posix_spawn rather than fork: under qemu-user, a forked child of a 32-bit x86
// test program hangs in the C library before it can exec.
ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const RunOptions& options) {
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environment = childEnvironment(options.environment);
    const std::vector<char*> argv = pointersTo(words);
    const std::vector<char*> envp = pointersTo(environment);

    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return {-1, ""};
    // A status flag of the pipe itself, so the child's copy has it too.
    if (options.nonBlockingOutput) fcntl(pipeEnds[1], F_SETFL, O_NONBLOCK);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (options.outputPath.empty()) {
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, options.outputPath.c_str(),
                                         O_WRONLY, 0);
    }
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    pid_t child = -1;
    const int spawned =
        posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        return {127, ""};
    }

    ProgramResult result{-1, ""};
    char chunk[65536];
    ssize_t count;
    while ((count = read(pipeEnds[0], chunk, sizeof chunk)) > 0) {
        result.output.append(chunk, static_cast<std::size_t>(count));
        if (options.closeAfter != 0 && result.output.size() >= options.closeAfter) break;
        if (result.output.size() > MaxCollectedBytes) {
            kill(child, SIGKILL);
            break;
        }
        // A slow reader lets the pipe fill up, so that the writer meets EAGAIN.
        if (options.nonBlockingOutput) usleep(2000);
    }
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (result.output.size() > MaxCollectedBytes) result.exitCode = StoppedForTooMuchOutput;
    return result;
}
