// The handset simulator as a child process on its own pseudo-terminal,
// stopped when this goes out of scope. HANDSET_SIM names the program.
#pragma once

#include <csignal>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

// Options as one text, to name a table's row.
inline std::string joined(const std::vector<std::string>& options)
{
    std::string out;
    for (const auto& o : options) out += o + " ";
    return out;
}

class simulator {
public:
    // On the map `map`, with `options` after it.
    simulator(const std::string& map, std::vector<std::string> options)
        : simulator((options.insert(options.begin(), {"--map", map}), std::move(options)))
    {
    }
    explicit simulator(std::vector<std::string> args)
    {
        int out[2];
        if (::pipe(out) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            std::vector<char*> argv{const_cast<char*>(HANDSET_SIM)};
            for (auto& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(HANDSET_SIM, argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        // The first line is the pseudo-terminal's path.
        char c;
        while (::read(out[0], &c, 1) == 1 && c != '\n') path_ += c;
        ::close(out[0]);
    }
    ~simulator()
    {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    simulator(const simulator&) = delete;
    simulator& operator=(const simulator&) = delete;

    const std::string& path() const { return path_; }

private:
    pid_t pid_ = -1;
    std::string path_;
};
