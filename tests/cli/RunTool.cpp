#include "cli/RunTool.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>
#include <string_view>

#include "support/TempDir.h"

namespace kestal::testing {

namespace {

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// In the child: point fd at path (opened for writing), or die.
void redirect(int fd, const std::string& path, int flags) {
    const int opened = ::open(path.c_str(), flags, 0644);
    if (opened < 0 || ::dup2(opened, fd) < 0) ::_exit(127);
    ::close(opened);
}

// Reads the terminal's side of the pseudo-terminal until the child has
// closed its side (the read then fails with EIO).
std::string drainTerminal(int master) {
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(master, buffer, sizeof buffer);
        if (got > 0) {
            text.append(buffer, static_cast<std::size_t>(got));
        } else if (got < 0 && errno == EINTR) {
            continue;
        } else {
            return text;
        }
    }
}

}  // namespace

ToolRun runTool(const std::vector<std::string>& args, const ToolSetup& setup) {
    TempDir scratch;
    const std::string outPath = setup.stdoutPath.value_or(scratch.file("stdout"));
    const std::string errPath = scratch.file("stderr");

    std::vector<std::string> argv = setup.runAs;
    argv.push_back(KESTAL_CALLS);
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> envp = setup.environment;
    // A sanitizer build's settings reach the child too.
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string_view text = *variable;
        if (text.starts_with("ASAN_") || text.starts_with("UBSAN_") || text.starts_with("LSAN_")) {
            envp.emplace_back(text);
        }
    }
    std::vector<char*> argvPointers = pointersTo(argv);
    std::vector<char*> envPointers = pointersTo(envp);

    int master = -1;
    int slave = -1;
    if (setup.stderrOnTerminal && ::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        throw std::runtime_error("openpty failed");
    }

    const pid_t child = ::fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        if (setup.workingDirectory && ::chdir(setup.workingDirectory->c_str()) != 0) ::_exit(127);
        redirect(STDIN_FILENO, setup.stdinPath.value_or("/dev/null"), O_RDONLY);
        redirect(STDOUT_FILENO, outPath, O_WRONLY | O_CREAT | O_TRUNC);
        if (setup.stderrOnTerminal) {
            if (::dup2(slave, STDERR_FILENO) < 0) ::_exit(127);
            ::close(slave);
            ::close(master);
        } else {
            redirect(STDERR_FILENO, errPath, O_WRONLY | O_CREAT | O_TRUNC);
        }
        ::execve(argvPointers[0], argvPointers.data(), envPointers.data());
        ::_exit(127);
    }

    ToolRun run;
    if (setup.stderrOnTerminal) {
        ::close(slave);
        run.err = drainTerminal(master);
        ::close(master);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) throw std::runtime_error("waitpid failed");
    }
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (!setup.stdoutPath) run.out = readBytes(outPath);
    if (!setup.stderrOnTerminal) run.err = readBytes(errPath);
    return run;
}

}  // namespace kestal::testing
