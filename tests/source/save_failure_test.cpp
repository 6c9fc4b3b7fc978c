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

// Every way a map leaves the program, in this order: saved from the held
// source, written straight from the model, and as GPX.
const std::vector<save_call> every_save = {
    [](const std::string& to, std::string* e) { map_document doc = map_of(2000); return save_map(doc, to, e); },
    [](const std::string& to, std::string* e) { map_document doc = map_of(2000); return write_map_file(doc, to, e); },
    [](const std::string& to, std::string* e) { map_document doc = map_of(2000); return save_gpx(doc, to, e); },
};

TEST_F(save_failure, each_failure_keeps_the_old_file_and_gives_its_reason)
{
    const std::vector<save_failure_case> cases = {
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
    for (std::size_t i = 0; i < every_save.size(); ++i) {
        SCOPED_TRACE("save " + std::to_string(i));
        expect_each_failure_keeps_the_old_files(cases, every_save[i], [](const fs::path&, const std::string& r) { return r; });
    }
}

TEST_F(save_failure, a_full_file_system_keeps_the_old_file)
{
    expect_a_full_disk_keeps_the_old_file(every_save, std::strerror(ENOSPC));
}

TEST_F(save_failure, a_save_killed_at_any_moment_leaves_the_old_file_or_the_new_one)
{
    map_document doc = map_of(5000);
    expect_killed_saves_leave_old_or_new(20, [&](const std::string& to, std::string* e) { return save_map(doc, to, e); });
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
        for (const fs::path& in : {folder, folder / "maps"})
            for (const std::string& name : names_in(in)) EXPECT_NE(name.front(), '.') << name;
    }
}

} // namespace
} // namespace wayloom
