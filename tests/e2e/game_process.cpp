#include "e2e/game_process.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "e2e/e2e_paths.h"

namespace brontal::e2e {

ProcessResult RunGame(const std::vector<std::string>& arguments) {
    ProcessResult result;
    static int runNumber = 0;
    const std::string errorPath = ScratchPath("stderr_" + std::to_string(getpid()) + "_" + std::to_string(++runNumber));
    const std::string program = GameBinary();
    const std::string data = DataDir();

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    // The environment as it is, but under the leak checker without leak checks: Mesa's driver
    // (unloaded at exit) leaves a few allocations it cannot attribute. The game's own leaks are
    // checked by the in-process runs. Made before the fork, so the child only calls exec.
    const char* asan = std::getenv("ASAN_OPTIONS");
    const std::string asanOptions =
        "ASAN_OPTIONS=" + std::string(asan ? asan : "") + (asan && *asan ? ":" : "") + "detect_leaks=0";
    std::vector<char*> environment;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "ASAN_OPTIONS=", 13) != 0) environment.push_back(*e);
    environment.push_back(const_cast<char*>(asanOptions.c_str()));
    environment.push_back(nullptr);

    const pid_t child = fork();
    if (child < 0) return result;
    if (child == 0) {
        const int errorFile = open(errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (errorFile < 0 || dup2(errorFile, STDERR_FILENO) < 0 || chdir(data.c_str()) != 0) _exit(127);
        const int devNull = open("/dev/null", O_WRONLY);
        if (devNull >= 0) dup2(devNull, STDOUT_FILENO);
        execve(program.c_str(), argv.data(), environment.data());
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return result;
    }
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    ReadText(errorPath, result.errors);
    unlink(errorPath.c_str());
    return result;
}

std::string SettingsBytes(int sizeIndex, bool hud, bool windowedMode) {
    std::string bytes(7, '\0');
    bytes[0] = static_cast<char>(sizeIndex);
    bytes[5] = hud ? 1 : 0;
    bytes[6] = windowedMode ? 1 : 0;
    return bytes;
}

}  // namespace brontal::e2e
