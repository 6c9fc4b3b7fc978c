#include "view/bitmap_export.h"

#include "source/file_replacement.h"

#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
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

    // The names a user can get wrong are refused in the words the file
    // dialogs use; everything else is the system's reason.
    const QFileInfo target(QString::fromStdString(file_name));
    if (target.isDir()) return fail("Filename refers to a directory");
    if (target.exists() && !target.isWritable())
        return fail(QString("Existing file %1 is not writable").arg(QString::fromStdString(file_name)));

    // Written whole beside the old picture, which it replaces only once
    // complete. Unbuffered, so that a failed write is the system call that
    // failed, with its reason (a full disk, a size limit).
    std::string error_text;
    const bool saved = replace_file(
        file_name,
        [&](const std::string& temp, std::string& reason) {
            QFile file(QString::fromStdString(temp));
            if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
                reason = file.errorString().toStdString();
                return false;
            }
            QImageWriter writer(&file, is_png_name(file_name) ? "PNG" : "BMP");
            errno = 0;
            if (writer.write(picture)) return true;
            // A failed write leaves the system's reason in errno; the writer's
            // own message only says that it failed.
            const int code = errno;
            reason = (code != 0
                          ? QString::fromLocal8Bit(std::strerror(code))
                          : writer.errorString())
                         .toStdString();
            return false;
        },
        &error_text);
    if (!saved) return fail(QString::fromStdString(error_text));
    return true;
}

} // namespace wayloom
