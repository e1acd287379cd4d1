// charvane-cli: Charvane's conversion and paged export without a window.

#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/CliOptions.h"
#include "cli/CliRun.h"
#include "cli/Terminal.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    cli::CliOptions options;
    try {
        options = cli::ParseCliOptions(args);
    } catch (const cli::CliUsageError& e) {
        std::cerr << "charvane-cli: " << e.what()
                  << "\nTry 'charvane-cli --help' for more information.\n";
        return 2;
    }
    if (options.help || options.version) {
        std::cout << (options.help ? cli::CliHelpText() : cli::CliVersionText()) << std::flush;
        if (!std::cout) {
            std::cerr << "Cannot write to the standard output.\n";
            return 1;
        }
        return 0;
    }
    if (options.widthAuto)
        options.width = cli::TerminalColumns(STDOUT_FILENO).value_or(80);
    if (options.format == cli::OutputFormat::Png && !options.saveFile &&
        cli::IsTerminal(STDOUT_FILENO)) {
        std::cerr << "charvane-cli: a PNG picture is not shown on a terminal; use --save FILE "
                     "or redirect the output\n";
        return 2;
    }
    return cli::RunCli(options, std::cout, std::cerr);
}
