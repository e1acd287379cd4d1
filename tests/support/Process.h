#pragma once
// Runs one of our programs as a user would and keeps what it wrote.

#include <cstdlib>
#include <string>

#include <sys/wait.h>

#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

namespace charvane::testing {

struct ProgramRun {
    int status = -1; // the exit status, or -1 when the program did not exit by itself
    std::string out;
    std::string err;
};

// Runs a shell command line. Standard output goes to stdoutTarget when one is given (for example
// "/dev/full"), otherwise it is kept like standard error.
inline ProgramRun RunProgram(const std::string& commandLine, const std::string& stdoutTarget = "") {
    const TempFolder folder("charvane-run");
    const std::string out = stdoutTarget.empty() ? folder.File("out") : stdoutTarget;
    const std::string command =
        commandLine + " </dev/null >'" + out + "' 2>'" + folder.File("err") + "'";
    const int raw = std::system(command.c_str());
    ProgramRun run;
    run.status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    if (stdoutTarget.empty())
        run.out = ReadFile(out);
    run.err = ReadFile(folder.File("err"));
    return run;
}

} // namespace charvane::testing
