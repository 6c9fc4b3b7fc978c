// Saving a map when the disk, the folder, the file or the process fails:
// the old file stays whole, the reason comes back, and no temporary file
// outlives the next good save.
#include "source/gpx_writer.h"
#include "source/writer.h"
#include "tests/save_failures.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstring>
#include <iostream>


namespace wayloom {
namespace {

namespace fs = std::filesystem;
using namespace wayloom::testing;

map_document map_of(int waypoints)
{
    map_document doc;
    for (int i = 0; i < waypoints; ++i) {
        t_waypoint& w = doc.create_waypoint();
        w.name = "wp" + std::to_string(i);
        w.lon = -4 + i * 1e-5L;
        w.lat = 52 + i * 1e-5L;
    }
    return doc;
}

class save_failure : public failing_save_test {
protected:
    save_failure()
        : failing_save_test("farm.wlm", "waypoints\r\n  {\r\n    old,\r\n    1,\r\n    2,\r\n    3\r\n\r\n  }\r\n\r\n")
    {}
};

TEST_F(save_failure, each_failure_keeps_the_old_file_and_gives_its_reason)
{
    struct row {
        const char* name;
        std::function<void()> prepare;  // in the saving process
        std::function<void(const fs::path&, const fs::path&)> arrange;  // folder, file
        std::string target;              // relative to the folder
        std::string reason;
    };
    const row rows[] = {
        // A file size limit stands for a full disk wherever a file system cannot be mounted.
        {"disk full", [] { limit_file_size(4096); }, {}, "farm.wlm", std::strerror(EFBIG)},
        {"read-only folder", become_unprivileged,
         [](const fs::path& f, const fs::path&) { fs::permissions(f, fs::perms(0555)); }, "farm.wlm",
         std::strerror(EACCES)},
        {"read-only file", become_unprivileged,
         [](const fs::path&, const fs::path& m) { fs::permissions(m, fs::perms(0444)); }, "farm.wlm",
         std::strerror(EACCES)},
        {"folder that is a file", [] {}, {}, "farm.wlm/inner.wlm", std::strerror(ENOTDIR)},
        {"folder that does not exist", [] {}, {}, "missing/farm.wlm", std::strerror(ENOENT)},
        {"name of a folder", [] {}, [](const fs::path& f, const fs::path&) { fs::create_directory(f / "maps"); },
         "maps", std::strerror(EISDIR)},
    };
    // Every way a map leaves the program: saved from the held source,
    // written straight from the model, and as GPX.
    using saver = std::function<bool(map_document&, const std::string&, std::string&)>;
    const std::pair<const char*, saver> savers[] = {
        {"save_map", [](map_document& d, const std::string& f, std::string& e) { return save_map(d, f, &e); }},
        {"write_map_file", [](map_document& d, const std::string& f, std::string& e) { return write_map_file(d, f, &e); }},
        {"save_gpx", [](map_document& d, const std::string& f, std::string& e) { return save_gpx(d, f, &e); }},
    };
    for (const auto& [saver_name, save] : savers)
    for (const row& r : rows) {
        SCOPED_TRACE(std::string(saver_name) + ": " + r.name);
        if (r.arrange) r.arrange(folder, file);
        const fs::path target = folder / r.target;
        const child_outcome got = run_in_child(r.prepare, [&](std::string& error) {
            map_document doc = map_of(2000);
            return save(doc, target.string(), error);
        });
        restore_rights();
        ASSERT_TRUE(got.finished);
        EXPECT_FALSE(got.saved);
        EXPECT_EQ(got.error, r.reason);
        EXPECT_EQ(read_text(file), old_text);
        EXPECT_EQ(temporaries(), 0) << "no temporary file is left behind";
        fs::remove_all(folder / "maps");
    }
}

TEST_F(save_failure, a_full_file_system_keeps_the_old_file)
{
    const small_file_system disk(folder / "disk", 64 * 1024);
    if (!disk.mounted()) GTEST_SKIP() << "no file system can be mounted here; the file size limit stands in";
    const fs::path on_disk = folder / "disk" / "farm.wlm";
    std::ofstream(on_disk, std::ios::binary) << old_text;
    map_document doc = map_of(5000);
    std::string error;
    EXPECT_FALSE(save_map(doc, on_disk.string(), &error));
    EXPECT_EQ(error, std::strerror(ENOSPC));
    EXPECT_FALSE(write_map_file(doc, on_disk.string(), &error));
    EXPECT_EQ(error, std::strerror(ENOSPC));
    EXPECT_FALSE(save_gpx(doc, on_disk.string(), &error));
    EXPECT_EQ(error, std::strerror(ENOSPC));
    EXPECT_EQ(read_text(on_disk), old_text);
    EXPECT_EQ(names_in(folder / "disk"), std::vector<std::string>{"farm.wlm"});
}

TEST_F(save_failure, a_save_killed_at_any_moment_leaves_the_old_file_or_the_new_one)
{
    map_document doc = map_of(5000);
    std::string error;
    const fs::path reference = folder / "reference.wlm";
    ASSERT_TRUE(save_map(doc, reference.string(), &error)) << error;
    const std::string new_text = read_text(reference);
    fs::remove(reference);

    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(save_map(doc, (folder / "timing.wlm").string(), &error));
    const auto one_save = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    fs::remove(folder / "timing.wlm");

    std::mt19937 random(17);
    int cut_short = 0;
    for (int round = 0; round < 20; ++round) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << old_text;
        kill_while_saving([&] { save_map(doc, file.string(), nullptr); }, one_save * 2, random);
        const std::string now = read_text(file);
        EXPECT_TRUE(now == old_text || now == new_text) << "round " << round << ": " << now.size() << " bytes";
        if (temporaries() > 0) ++cut_short;
    }
    std::cout << cut_short << " of 20 saves were killed while writing\n";
    ASSERT_TRUE(save_map(doc, file.string(), &error)) << error;
    EXPECT_EQ(read_text(file), new_text);
    EXPECT_EQ(names_in(folder), std::vector<std::string>{"farm.wlm"}) << "the killed saves' files are gone";
}

TEST_F(save_failure, a_good_save_sweeps_up_killed_saves_but_not_running_ones)
{
    const fs::path killed = folder / ".farm.wlm.k1ll3d";
    const fs::path running = folder / ".farm.wlm.runn1n";
    const fs::path other = folder / ".other.wlm.k1ll3d";
    for (const fs::path& p : {killed, running, other}) std::ofstream(p) << "part";
    const int held = ::open(running.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    map_document doc = map_of(1);
    std::string error;
    ASSERT_TRUE(save_map(doc, file.string(), &error)) << error;
    ::close(held);
    EXPECT_EQ(names_in(folder), (std::vector<std::string>{".farm.wlm.runn1n", ".other.wlm.k1ll3d", "farm.wlm"}));
}

TEST_F(save_failure, a_save_through_a_link_replaces_what_it_points_to)
{
    struct row {
        const char* name;
        std::vector<std::pair<std::string, std::string>> links;  // link name, what it holds, made in order
        std::string saved_as;
        std::string changed;  // the file whose text is replaced
    };
    const fs::path real = folder / "maps" / "real.wlm";
    const row rows[] = {
        {"absolute link", {{"link.wlm", real.string()}}, "link.wlm", "maps/real.wlm"},
        {"relative link", {{"link.wlm", "maps/real.wlm"}}, "link.wlm", "maps/real.wlm"},
        {"link relative to its own folder", {{"maps/link.wlm", "real.wlm"}}, "maps/link.wlm", "maps/real.wlm"},
        {"chain of links", {{"maps/inner.wlm", "real.wlm"}, {"link.wlm", "maps/inner.wlm"}}, "link.wlm",
         "maps/real.wlm"},
        {"link to a file not made yet", {{"link.wlm", "maps/new.wlm"}}, "link.wlm", "maps/new.wlm"},
    };
    map_document doc = map_of(3);
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        fs::remove_all(folder / "maps");
        fs::remove(folder / "link.wlm");
        fs::create_directories(folder / "maps");
        std::ofstream(real, std::ios::binary) << old_text;
        for (const auto& [link, to] : r.links) fs::create_symlink(to, folder / link);

        std::string error;
        ASSERT_TRUE(save_map(doc, (folder / r.saved_as).string(), &error)) << error;
        for (const auto& [link, to] : r.links) {
            ASSERT_TRUE(fs::is_symlink(fs::symlink_status(folder / link))) << link << " is still a link";
            EXPECT_EQ(fs::read_symlink(folder / link), fs::path(to));
        }
        EXPECT_NE(read_text(folder / r.changed), old_text);
        EXPECT_EQ(read_text(folder / r.changed), read_text(folder / r.saved_as));
        EXPECT_EQ(temporaries(), 0);
        for (const std::string& name : names_in(folder / "maps")) EXPECT_NE(name.front(), '.') << name;
    }
}

} // namespace
} // namespace wayloom
