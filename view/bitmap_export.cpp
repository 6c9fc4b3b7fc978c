#include "view/bitmap_export.h"

#include <QImageWriter>
#include <QSaveFile>
#include <QString>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

namespace wayloom {

bool is_png_name(const std::string& file_name)
{
    constexpr std::string_view png = ".png";
    if (file_name.size() < png.size()) return false;
    return std::equal(png.begin(), png.end(), file_name.end() - png.size(),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

bool save_bitmap(const QImage& source, std::int32_t width, std::int32_t height,
                 const std::string& file_name, std::string* error)
{
    auto fail = [&](const QString& reason) {
        if (error)
            *error = "Cannot create file \"" + file_name + "\". " + reason.toStdString();
        return false;
    };
    if (width <= 0 || height <= 0 || source.isNull()) return fail("The drawing is empty.");

    // Three bytes a pixel: the bitmap writer then stores 24 bits per pixel.
    const QImage picture =
        source.copy(0, 0, width, height).convertToFormat(QImage::Format_RGB888);

    // The picture goes to a temporary file that replaces the old one only
    // once it is complete. Unbuffered, a failed write is the system call
    // that failed, whose reason (a full disk, a size limit) is then in errno:
    // the file itself only knows that writing failed.
    QSaveFile file(QString::fromStdString(file_name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return fail(file.errorString());
    QImageWriter writer(&file, is_png_name(file_name) ? "PNG" : "BMP");
    errno = 0;
    if (!writer.write(picture)) {
        const int code = errno;
        file.cancelWriting();
        return fail(file.error() != QFileDevice::NoError && code != 0 ? QString::fromLocal8Bit(std::strerror(code))
                                                                      : writer.errorString());
    }
    errno = 0;
    if (!file.commit()) {
        const int code = errno;
        return fail(code != 0 ? QString::fromLocal8Bit(std::strerror(code)) : file.errorString());
    }
    return true;
}

} // namespace wayloom
