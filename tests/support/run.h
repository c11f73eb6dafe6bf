#pragma once
// Runs a program and collects what it prints.

#include <array>
#include <cstdio>
#include <string>
#ifdef _WIN32
#include <fstream>
#include <sstream>

#include "support/temp_dir.h"
#include <vector>

#include "cli/cli.h"
#else
#include <sys/wait.h>
#endif

namespace brisolt::testing {

struct RunResult {
    int status = -1;
    std::string out;
};

#ifdef _WIN32
// Windows has no POSIX shell, so a command line of brisolt-cli runs in this process: the
// words are split as the shell splits them (quotes, ShellQuote's '\'' included), the
// redirections of stdout and stderr the tests use are applied (">F", "2>F", "2>&1", with
// /dev/null discarding), and cli::Run gets the rest. Other programs count as not found (127).
inline RunResult RunCommand(const std::string& command) {
    struct Word {
        std::string text;
        bool quotedStart = false;
    };
    std::vector<Word> words;
    Word word;
    bool inWord = false;
    for (std::size_t i = 0; i < command.size(); ++i) {
        const char c = command[i];
        if (c == ' ') {
            if (inWord) {
                words.push_back(word);
            }
            word = Word{};
            inWord = false;
            continue;
        }
        if (!inWord) {
            word.quotedStart = c == '\'' || c == '"';
        }
        inWord = true;
        if (c == '\'') {
            const std::size_t end = command.find('\'', i + 1);
            word.text += command.substr(i + 1, end - i - 1);
            i = end;
        } else if (c == '"') {
            const std::size_t end = command.find('"', i + 1);
            word.text += command.substr(i + 1, end - i - 1);
            i = end;
        } else if (c == '\\' && i + 1 < command.size()) {
            word.text += command[++i];
        } else {
            word.text += c;
        }
    }
    if (inWord) {
        words.push_back(word);
    }
    std::vector<std::string> args;
    std::string outFile;
    std::string errFile;
    bool errToOut = false;
    for (const Word& w : words) {
        if (!w.quotedStart && w.text == "2>&1") {
            // As a shell takes it: stderr goes where stdout goes at this point, so
            // "2>&1 >/dev/null" reads stderr alone and "2>&1" after ">F" writes both to F.
            if (outFile.empty()) {
                errToOut = true;
            } else {
                errFile = outFile;
            }
        } else if (!w.quotedStart && w.text.rfind("2>", 0) == 0) {
            errFile = w.text.substr(2);
        } else if (!w.quotedStart && w.text.rfind(">", 0) == 0) {
            outFile = w.text.substr(1);
        } else {
            args.push_back(w.text);
        }
    }
    RunResult result;
    if (args.empty() || args[0] != "brisolt-cli") {
        result.status = 127;
        return result;
    }
    std::ostringstream out;
    std::ostringstream err;
    const bool together = errToOut && outFile.empty(); // "2>&1": both read, in their order
    result.status =
        cli::Run(std::vector<std::string>(args.begin() + 1, args.end()), out, together ? out : err);
    const auto put = [](const std::string& file, const std::string& bytes) {
        if (!file.empty() && file != "/dev/null") {
            std::ofstream(PathOf(file), std::ios::binary) << bytes;
        }
    };
    if (errFile == outFile && !outFile.empty()) {
        put(outFile, out.str() + err.str());
        return result;
    }
    put(errFile, err.str());
    if (outFile.empty()) {
        result.out = out.str();
    } else {
        put(outFile, out.str());
        if (errToOut) {
            result.out = err.str(); // "2>&1 >F": stderr is what is read
        }
    }
    return result;
}
#else
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
#endif

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
