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
    static std::string message(const fs::path& target, std::string reason)
    {
        if (const auto at = reason.find("{}"); at != std::string::npos) reason.replace(at, 2, target.string());
        return "Cannot create file \"" + target.string() + "\". " + reason;
    }
    static bool export_to(const std::string& target, std::string* error)
    {
        static const QImage image = picture();
        return save_bitmap(image, image.width(), image.height(), target, error);
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
    const std::vector<save_failure_case> cases = {
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
    std::ofstream(folder / "farm.png", std::ios::binary) << old_text;
    expect_each_failure_keeps_the_old_files(cases, export_to, message);
}

TEST_F(export_failure, a_full_file_system_keeps_the_old_picture)
{
    expect_a_full_disk_keeps_the_old_file({export_to}, message(folder / "disk" / "farm.bmp", std::strerror(ENOSPC)));
}

TEST_F(export_failure, an_export_killed_at_any_moment_leaves_the_old_picture_or_the_new_one)
{
    expect_killed_saves_leave_old_or_new(25, export_to);
}

TEST_F(export_failure, an_export_through_a_link_replaces_what_it_points_to)
{
    fs::create_directories(folder / "pictures");
    std::ofstream(folder / "pictures" / "real.bmp", std::ios::binary) << old_text;
    fs::remove(file);
    fs::create_symlink("pictures/real.bmp", file);
    std::string error;
    ASSERT_TRUE(export_to(file.string(), &error)) << error;
    ASSERT_TRUE(fs::is_symlink(fs::symlink_status(file)));
    EXPECT_EQ(read_text(folder / "pictures" / "real.bmp").substr(0, 2), "BM");
    EXPECT_NE(read_text(folder / "pictures" / "real.bmp"), old_text);
    EXPECT_EQ(names_in(folder / "pictures"), std::vector<std::string>{"real.bmp"});
}

} // namespace
} // namespace wayloom
