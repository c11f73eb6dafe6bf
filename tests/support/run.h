#pragma once
// Runs a program and collects what it prints.

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace brisolt::testing {

struct RunResult {
    int status = -1;
    std::string out;
};

// Runs a shell command line; stdout is collected, stderr goes to `errFile` when given.
inline RunResult RunCommand(const std::string& command) {
    RunResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    std::array<char, 65536> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        result.out.append(buffer.data(), n);
    }
    const int raw = ::pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
}

inline std::string ShellQuote(const std::string& s) {
    std::string out = "'";
    for (const char c : s) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out += c;
        }
    }
    return out + "'";
}

} // namespace brisolt::testing
