#include <iostream>

#include "cli/cli.h"
#include "key/files/file_system.h"

int main(int argc, char** argv) {
    brisolt::WriteStandardStreamsAsBytes();
    std::ios::sync_with_stdio(false);
    return brisolt::cli::Run(brisolt::CommandLineArguments(argc, argv), std::cout, std::cerr);
}
