#include "print/qt/vector_export.h"

#include "source/file_replacement.h"

#include <QBuffer>
#include <QByteArray>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace wayloom {

namespace {

bool ends_with_no_case(const std::string& text, std::string_view tail)
{
    if (text.size() < tail.size()) return false;
    return std::equal(tail.begin(), tail.end(), text.end() - static_cast<std::ptrdiff_t>(tail.size()),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

QByteArray pdf_page(long double width, long double height, const std::function<void(QPainter&)>& paint)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator("Wayloom");
        writer.setResolution(page_dots_per_inch);
        // An exact size: a near match must not turn into the nearest standard paper.
        const QPageSize size(QSizeF(static_cast<qreal>(width), static_cast<qreal>(height)),
                             QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
        writer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                         QPageLayout::Millimeter));
        QPainter painter(&writer);
        paint(painter);
    }
    return buffer.data();
}

QByteArray svg_picture(long double width, long double height, const std::function<void(QPainter&)>& paint)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setResolution(page_dots_per_inch);
        const QSize size(std::max(1, static_cast<int>(std::lround(page_pixels(width)))),
                         std::max(1, static_cast<int>(std::lround(page_pixels(height)))));
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setTitle("Wayloom map");
        QPainter painter(&generator);
        paint(painter);
    }
    return buffer.data();
}

// The bytes into the file, with the system's reason when a write fails.
bool write_bytes(const std::string& file_name, const QByteArray& bytes, std::string& reason)
{
    std::FILE* file = std::fopen(file_name.c_str(), "wb");
    if (!file) {
        reason = std::strerror(errno);
        return false;
    }
    errno = 0;
    const bool written = std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), file) ==
                             static_cast<std::size_t>(bytes.size()) &&
                         std::fflush(file) == 0;
    const int code = errno;
    const bool closed = std::fclose(file) == 0;
    if (written && closed) return true;
    reason = std::strerror(code != 0 ? code : errno != 0 ? errno : EIO);
    return false;
}

} // namespace

std::optional<vector_format> vector_format_of(const std::string& file_name)
{
    if (ends_with_no_case(file_name, ".pdf")) return vector_format::pdf;
    if (ends_with_no_case(file_name, ".svg")) return vector_format::svg;
    return std::nullopt;
}

long double page_pixels(long double millimetres)
{
    return millimetres / millimetres_per_inch * page_dots_per_inch;
}

long double page_millimetres(long double pixels)
{
    return pixels / page_dots_per_inch * millimetres_per_inch;
}

bool save_vector(const std::string& file_name, vector_format format, long double width,
                 long double height, const std::function<void(QPainter&)>& paint, std::string* error)
{
    // A drawing of no size fails as a picture of none does, rather than
    // giving a blank page. It is painted in memory first: neither writer
    // reports a failed write.
    const bool empty = !(width > 0 && height > 0);
    const QByteArray bytes = empty                           ? QByteArray()
                             : format == vector_format::pdf ? pdf_page(width, height, paint)
                                                             : svg_picture(width, height, paint);
    std::string reason;
    if (bytes.isEmpty()) reason = "The drawing is empty.";
    else if (replace_file(file_name, [&](const std::string& temp, std::string& why) {
                 return write_bytes(temp, bytes, why);
             }, &reason))
        return true;
    if (error) *error = "Cannot create file \"" + file_name + "\". " + reason;
    return false;
}

} // namespace wayloom
