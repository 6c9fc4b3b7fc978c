// Toolbar pictures: the Adwaita icon theme's coloured icons from the system
// icon folder, or, where the theme lacks one, a simple drawn picture.
#pragma once

#include <QIcon>
#include <QString>

namespace wayloom {

// The named Adwaita icon ("document-open"); a drawn letter when missing.
QIcon theme_icon(const QString& name, QChar fallback_letter);

// Drawn pictures for the two shape-kind buttons: an open line, a filled polygon.
QIcon line_icon();
QIcon polygon_icon();

} // namespace wayloom
