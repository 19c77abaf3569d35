#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "run_program.h"

std::string programPath() {
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path(self, length > 0 ? static_cast<std::size_t>(length) : 0);
    return path.substr(0, path.rfind('/') + 1) + ZELVANE_PROGRAM_NAME;
}

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const RunOptions& options) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return {-1, ""};
    const pid_t child = fork();
    if (child == 0) {
        int target = pipeEnds[1];
        if (!options.outputPath.empty()) target = open(options.outputPath.c_str(), O_WRONLY);
        dup2(target, STDOUT_FILENO);
        if (options.nonBlockingOutput) fcntl(STDOUT_FILENO, F_SETFL, O_NONBLOCK);
        close(pipeEnds[0]);
        for (const std::string& setting : options.environment) {
            putenv(const_cast<char*>(setting.c_str()));
        }
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    ProgramResult result{-1, ""};
    char chunk[65536];
    ssize_t count;
    while ((count = read(pipeEnds[0], chunk, sizeof chunk)) > 0) {
        result.output.append(chunk, static_cast<std::size_t>(count));
        if (options.closeAfter != 0 && result.output.size() >= options.closeAfter) break;
        // A slow reader lets the pipe fill up, so that the writer meets EAGAIN.
        if (options.nonBlockingOutput) usleep(2000);
    }
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}
