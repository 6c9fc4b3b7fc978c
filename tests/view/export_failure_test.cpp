// Exporting the drawing: the file's format and bytes, and when the disk, the
// folder, the file or the process fails, the old picture stays whole, the
// message gives the reason, and no temporary file is left.
#include "view/bitmap_export.h"
#include "tests/save_failures.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

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

TEST_F(export_failure, writes_a_24_bit_bitmap_of_the_given_rectangle)
{
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(3, 4, qRgb(200, 40, 40));
    image.setPixel(119, 79, qRgb(0, 0, 160));
    std::string error;
    ASSERT_TRUE(save_bitmap(image, 100, 60, file.string(), &error)) << error;
    const std::string bytes = read_text(file);
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    const auto little_endian = [&](std::size_t at, int size) {
        std::uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i) value = value * 256 + static_cast<unsigned char>(bytes[at + i]);
        return value;
    };
    // Width, height and bits per pixel.
    EXPECT_EQ(std::tuple(little_endian(18, 4), little_endian(22, 4), little_endian(28, 2)), std::tuple(100u, 60u, 24u));
    const QImage back(QString::fromStdString(file.string()));
    ASSERT_EQ(back.size(), QSize(100, 60));
    EXPECT_EQ(back.pixel(3, 4), qRgb(200, 40, 40));
    EXPECT_EQ(back.pixel(99, 59), qRgb(255, 255, 255));
}

TEST_F(export_failure, writes_png_for_a_png_name_in_any_case)
{
    struct row { const char* name; bool png; };
    const row rows[] = {{"a.png", true}, {"b.PNG", true}, {"c.Png", true}, {"d.bmp", false},
                        {"png", false}, {"e.png.bmp", false}};
    for (const row& r : rows) {
        EXPECT_EQ(is_png_name(r.name), r.png) << r.name;
        std::string error;
        ASSERT_TRUE(save_bitmap(picture(), 10, 10, (folder / r.name).string(), &error)) << error;
        const std::string bytes = read_text(folder / r.name);
        EXPECT_EQ(bytes.substr(1, 3) == "PNG", r.png) << r.name;
        EXPECT_EQ(bytes.substr(0, 2) == "BM", !r.png) << r.name;
    }
}

TEST_F(export_failure, an_empty_drawing_or_rectangle_keeps_the_old_file)
{
    std::string error;
    EXPECT_FALSE(save_bitmap(QImage(), 10, 10, file.string(), &error));
    EXPECT_EQ(error, message(file, "The drawing is empty."));
    EXPECT_FALSE(save_bitmap(picture(), 0, 10, file.string(), &error));
    EXPECT_EQ(read_text(file), old_text);
}

TEST_F(export_failure, each_failure_keeps_the_old_picture_and_gives_its_reason)
{
    struct row {
        const char* name;
        std::function<void()> prepare;  // in the exporting process
        std::function<void(const fs::path&, const fs::path&)> arrange;  // folder, file
        std::string target;              // relative to the folder
        std::string reason;
    };
    const row rows[] = {
        {"disk full", [] { limit_file_size(4096); }, {}, "farm.bmp", std::strerror(EFBIG)},
        {"disk full, png", [] { limit_file_size(4096); }, {}, "farm.png", std::strerror(EFBIG)},
        {"read-only folder", become_unprivileged,
         [](const fs::path& f, const fs::path&) { fs::permissions(f, fs::perms(0555)); }, "farm.bmp",
         std::strerror(EACCES)},
        {"read-only file", become_unprivileged,
         [](const fs::path&, const fs::path& m) { fs::permissions(m, fs::perms(0444)); }, "farm.bmp",
         "Existing file {} is not writable"},
        {"folder that is a file", [] {}, {}, "farm.bmp/inner.bmp", std::strerror(ENOTDIR)},
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
        EXPECT_EQ(read_text(file), old_text);
        EXPECT_EQ(read_text(folder / "farm.png"), old_text);
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
    EXPECT_EQ(error, message(on_disk, std::strerror(ENOSPC)));
    EXPECT_EQ(read_text(on_disk), old_text);
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
    const std::string new_picture = read_text(reference);
    fs::remove(reference);

    std::mt19937 random(17);
    for (int round = 0; round < 25; ++round) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << old_text;
        kill_while_saving([&] { save_bitmap(image, image.width(), image.height(), file.string(), nullptr); },
                          one_save * 2, random);
        const std::string now = read_text(file);
        EXPECT_TRUE(now == old_text || now == new_picture) << "round " << round << ": " << now.size() << " bytes";
    }
    ASSERT_TRUE(save_bitmap(image, image.width(), image.height(), file.string(), &error)) << error;
    EXPECT_EQ(read_text(file), new_picture);
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
    EXPECT_EQ(read_text(folder / "pictures" / "real.bmp").substr(0, 2), "BM");
    EXPECT_NE(read_text(folder / "pictures" / "real.bmp"), old_text);
    EXPECT_EQ(names_in(folder / "pictures"), std::vector<std::string>{"real.bmp"});
}

} // namespace
} // namespace wayloom
