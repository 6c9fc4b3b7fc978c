// Exporting the drawing when the disk, the folder, the file or the process
// fails: the old picture stays whole, the message gives the reason, and no
// temporary file is left.
#include "view/bitmap_export.h"
#include "tests/save_failures.h"

#include <QImage>

#include <gtest/gtest.h>

namespace wayloom {
namespace {

namespace fs = std::filesystem;
using namespace wayloom::testing;

// A picture whose file is some hundreds of kilobytes, with some pattern in it.
QImage picture()
{
    QImage image(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
    return image;
}

class export_failure : public failing_save_test {
protected:
    export_failure() : failing_save_test("farm.bmp", "BM an old picture") {}
    // The export's message; "{}" in the reason stands for the file name.
    std::string message(const fs::path& target, std::string reason) const
    {
        if (const auto at = reason.find("{}"); at != std::string::npos) reason.replace(at, 2, target.string());
        return "Cannot create file \"" + target.string() + "\". " + reason;
    }
};

TEST_F(export_failure, each_failure_keeps_the_old_picture_and_gives_its_reason)
{
    struct row {
        const char* name;
        std::function<void()> prepare;  // in the exporting process
        std::function<void(const fs::path&, const fs::path&)> arrange;  // folder, file
        std::string target;              // relative to the folder
        const char* reason;
    };
    const row rows[] = {
        {"disk full", [] { limit_file_size(4096); }, {}, "farm.bmp", "File too large"},
        {"disk full, png", [] { limit_file_size(4096); }, {}, "farm.png", "File too large"},
        {"read-only folder", become_unprivileged,
         [](const fs::path& f, const fs::path&) { fs::permissions(f, fs::perms(0555)); }, "farm.bmp",
         "Permission denied"},
        {"read-only file", become_unprivileged,
         [](const fs::path&, const fs::path& m) { fs::permissions(m, fs::perms(0444)); }, "farm.bmp",
         "Existing file {} is not writable"},
        {"folder that is a file", [] {}, {}, "farm.bmp/inner.bmp", "Not a directory"},
        {"name of a folder", [] {}, [](const fs::path& f, const fs::path&) { fs::create_directory(f / "maps"); },
         "maps", "Filename refers to a directory"},
    };
    const QImage image = picture();
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        std::ofstream(folder / "farm.png", std::ios::binary) << old_text;
        if (r.arrange) r.arrange(folder, file);
        const fs::path target = folder / r.target;
        const child_outcome got = run_in_child(r.prepare, [&](std::string& error) {
            return save_bitmap(image, image.width(), image.height(), target.string(), &error);
        });
        restore_rights();
        ASSERT_TRUE(got.finished);
        EXPECT_FALSE(got.saved);
        EXPECT_EQ(got.error, message(target, r.reason));
        EXPECT_EQ(contents(file), old_text);
        EXPECT_EQ(contents(folder / "farm.png"), old_text);
        EXPECT_EQ(temporaries(), 0) << "no temporary file is left behind";
        EXPECT_EQ(names_in(folder).size(), r.arrange && r.target == "maps" ? 3u : 2u);
        fs::remove_all(folder / "maps");
    }
}

TEST_F(export_failure, a_full_file_system_keeps_the_old_picture)
{
    const small_file_system disk(folder / "disk", 64 * 1024);
    if (!disk.mounted()) GTEST_SKIP() << "no file system can be mounted here; the file size limit stands in";
    const fs::path on_disk = folder / "disk" / "farm.bmp";
    std::ofstream(on_disk, std::ios::binary) << old_text;
    const QImage image = picture();
    std::string error;
    EXPECT_FALSE(save_bitmap(image, image.width(), image.height(), on_disk.string(), &error));
    EXPECT_EQ(error, message(on_disk, "No space left on device"));
    EXPECT_EQ(contents(on_disk), old_text);
    EXPECT_EQ(names_in(folder / "disk"), std::vector<std::string>{"farm.bmp"});
}

TEST_F(export_failure, an_export_killed_at_any_moment_leaves_the_old_picture_or_the_new_one)
{
    const QImage image = picture();
    std::string error;
    const fs::path reference = folder / "reference.bmp";
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(save_bitmap(image, image.width(), image.height(), reference.string(), &error)) << error;
    const auto one_save = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    const std::string new_picture = contents(reference);
    fs::remove(reference);

    std::mt19937 random(17);
    for (int round = 0; round < 25; ++round) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << old_text;
        kill_while_saving([&] { save_bitmap(image, image.width(), image.height(), file.string(), nullptr); },
                          one_save * 2, random);
        const std::string now = contents(file);
        EXPECT_TRUE(now == old_text || now == new_picture) << "round " << round << ": " << now.size() << " bytes";
    }
    ASSERT_TRUE(save_bitmap(image, image.width(), image.height(), file.string(), &error)) << error;
    EXPECT_EQ(contents(file), new_picture);
    EXPECT_EQ(names_in(folder), std::vector<std::string>{"farm.bmp"}) << "the killed exports' files are gone";
}

TEST_F(export_failure, an_export_through_a_link_replaces_what_it_points_to)
{
    fs::create_directories(folder / "pictures");
    std::ofstream(folder / "pictures" / "real.bmp", std::ios::binary) << old_text;
    fs::remove(file);
    fs::create_symlink("pictures/real.bmp", file);
    const QImage image = picture();
    std::string error;
    ASSERT_TRUE(save_bitmap(image, image.width(), image.height(), file.string(), &error)) << error;
    ASSERT_TRUE(fs::is_symlink(fs::symlink_status(file)));
    EXPECT_EQ(contents(folder / "pictures" / "real.bmp").substr(0, 2), "BM");
    EXPECT_NE(contents(folder / "pictures" / "real.bmp"), old_text);
    EXPECT_EQ(names_in(folder / "pictures"), std::vector<std::string>{"real.bmp"});
}

} // namespace
} // namespace wayloom
