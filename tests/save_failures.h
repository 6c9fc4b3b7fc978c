// What the save and export failure tests share: saving in a child process,
// so that a save can be given a file size limit, an ordinary user's rights
// or a kill at any moment without touching the test's own process, and a
// folder holding the old file.
#pragma once

#include <grp.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/read_text.h"
#include "tests/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace wayloom::testing {

struct child_outcome {
    bool finished = false;  // the child ran to its end
    bool saved = false;     // what the save returned
    std::string error;      // what it reported
};

// Runs `prepare`, then `save`, in a child; the child sends back what the save said.
inline child_outcome run_in_child(const std::function<void()>& prepare,
                                  const std::function<bool(std::string&)>& save)
{
    int pipe_ends[2];
    if (::pipe(pipe_ends) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe_ends[0]);
        prepare();
        std::string error;
        const std::string answer = (save(error) ? "1" : "0") + error;
        [[maybe_unused]] const auto n = ::write(pipe_ends[1], answer.data(), answer.size());
        ::_exit(0);  // no exit handlers: they belong to the test's process
    }
    ::close(pipe_ends[1]);
    std::string answer;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0;) answer.append(buffer, static_cast<std::size_t>(n));
    ::close(pipe_ends[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    child_outcome out;
    out.finished = WIFEXITED(status) && WEXITSTATUS(status) == 0 && !answer.empty();
    if (out.finished) {
        out.saved = answer[0] == '1';
        out.error = answer.substr(1);
    }
    return out;
}

// In the child: files it writes may not grow past `bytes`; a write beyond
// fails with "File too large" instead of ending the process.
inline void limit_file_size(rlim_t bytes)
{
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

// In the child: root's rights given up for nobody's, so that a read-only
// folder or file stops it as it stops a user.
inline void become_unprivileged()
{
    if (::geteuid() != 0) return;
    constexpr gid_t nobody = 65534;
    if (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0) ::_exit(3);
}

// Starts `save` over and over in a child and kills it after a random time
// of up to `within`.
inline void kill_while_saving(const std::function<void()>& save, std::chrono::microseconds within,
                              std::mt19937& random)
{
    const pid_t child = ::fork();
    if (child == 0) {
        for (;;) save();
    }
    std::uniform_int_distribution<long> pick(0, within.count());
    std::this_thread::sleep_for(std::chrono::microseconds(pick(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
}

// A file system of `bytes` mounted on `folder` for the life of the object,
// where the machine allows it (mounted() tells).
class small_file_system {
public:
    small_file_system(std::filesystem::path folder, std::size_t bytes) : folder_(std::move(folder))
    {
        std::filesystem::create_directories(folder_);
        const std::string options = "size=" + std::to_string(bytes);
        mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~small_file_system()
    {
        if (mounted_) ::umount(folder_.c_str());
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    bool mounted() const { return mounted_; }

private:
    std::filesystem::path folder_;
    bool mounted_ = false;
};

// The names in `folder`, sorted.
inline std::vector<std::string> names_in(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// How a save is called: to `target`, with the reason of a failure put in
// `error` when it is given.
using save_call = std::function<bool(const std::string& target, std::string* error)>;

// A way a save fails: what the saving process does first, what is done to
// the folder and the file first, the name saved to (relative to the
// folder) and the reason the save gives.
struct save_failure_case {
    const char* name;
    std::function<void()> prepare;
    std::function<void(const std::filesystem::path&, const std::filesystem::path&)> arrange;  // folder, file
    std::string target;
    std::string reason;
};

// A folder of its own per test, writable by anyone (an unprivileged child
// writes there too), holding `file` with `old_text` in it.
class failing_save_test : public ::testing::Test {
protected:
    failing_save_test(std::string file_name, std::string old) : name_(std::move(file_name)), old_text(std::move(old)) {}

    void SetUp() override
    {
        folder = scratch_.path();
        std::filesystem::permissions(folder, std::filesystem::perms::all);
        file = folder / name_;
        std::ofstream(file, std::ios::binary) << old_text;
        std::filesystem::permissions(file, std::filesystem::perms(0666));
    }

    // Each file in the folder with its text; a folder as "<folder>".
    std::map<std::string, std::string> contents() const
    {
        std::map<std::string, std::string> out;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            out[entry.path().filename().string()] = entry.is_directory() ? "<folder>" : read_text(entry.path());
        return out;
    }

    // Each case in a child: the save fails with the error `message` makes of
    // the target and the reason, and the folder holds what it held before,
    // every file whole and no temporary file left.
    void expect_each_failure_keeps_the_old_files(
        const std::vector<save_failure_case>& cases, const save_call& save,
        const std::function<std::string(const std::filesystem::path&, const std::string&)>& message)
    {
        for (const save_failure_case& c : cases) {
            SCOPED_TRACE(c.name);
            if (c.arrange) c.arrange(folder, file);
            const auto before = contents();
            const std::filesystem::path target = folder / c.target;
            const child_outcome got =
                run_in_child(c.prepare, [&](std::string& error) { return save(target.string(), &error); });
            std::filesystem::permissions(folder, std::filesystem::perms::all);
            std::filesystem::permissions(file, std::filesystem::perms(0666));
            ASSERT_TRUE(got.finished);
            EXPECT_FALSE(got.saved);
            EXPECT_EQ(got.error, message(target, c.reason));
            EXPECT_EQ(contents(), before);
            std::filesystem::remove_all(folder / "maps");  // the folder some cases save to
        }
    }

    // On a file system too small for the saves, where one can be mounted:
    // each fails with `message` and the old file stays whole.
    void expect_a_full_disk_keeps_the_old_file(const std::vector<save_call>& saves, const std::string& message)
    {
        const small_file_system disk(folder / "disk", 64 * 1024);
        if (!disk.mounted()) GTEST_SKIP() << "no file system can be mounted here; the file size limit stands in";
        const std::filesystem::path on_disk = folder / "disk" / name_;
        std::ofstream(on_disk, std::ios::binary) << old_text;
        for (const save_call& save : saves) {
            std::string error;
            EXPECT_FALSE(save(on_disk.string(), &error));
            EXPECT_EQ(error, message);
        }
        EXPECT_EQ(read_text(on_disk), old_text);
        EXPECT_EQ(names_in(folder / "disk"), std::vector<std::string>{name_});
    }

    // Saves killed at random moments leave the old text or the new one,
    // never a part, and the next good save sweeps their files away.
    void expect_killed_saves_leave_old_or_new(int rounds, const save_call& save)
    {
        const std::string reference = (folder / ("reference" + file.extension().string())).string();
        std::string error;
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(save(reference, &error)) << error;
        const auto one_save =
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
        const std::string new_text = read_text(reference);
        std::filesystem::remove(reference);
        std::mt19937 random(17);
        for (int round = 0; round < rounds; ++round) {
            std::ofstream(file, std::ios::binary | std::ios::trunc) << old_text;
            kill_while_saving([&] { save(file.string(), nullptr); }, one_save * 2, random);
            const std::string now = read_text(file);
            EXPECT_TRUE(now == old_text || now == new_text) << "round " << round << ": " << now.size() << " bytes";
        }
        ASSERT_TRUE(save(file.string(), &error)) << error;
        EXPECT_EQ(read_text(file), new_text);
        EXPECT_EQ(names_in(folder), std::vector<std::string>{name_}) << "the killed saves' files are gone";
    }

    temp_folder scratch_;
    std::string name_;

public:
    std::string old_text;
    std::filesystem::path folder, file;
};

} // namespace wayloom::testing
