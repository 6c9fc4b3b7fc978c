#include "source/writer.h"

#include "source/map_text.h"
#include "source/plain_letters.h"
#include "source/scanner.h"

namespace wayloom {

using namespace map_text;

namespace {

// The held map source as the sink.
struct source_lines {
    tsource_text& source;
    std::string line;
    std::string& buffer() { return line; }
    void end_line()
    {
        source.append(line);
        line.clear();
    }
};

} // namespace

std::string written_name(std::string_view name)
{
    std::string out = plain_letters(name, '_');
    for (char& c : out)
        if (!is_word_char(c)) c = '_';
    return out;
}

void update_map_source(map_document& doc)
{
    doc.source.clear();
    line_writer out(source_lines{doc.source, {}});
    map_to(out, doc);
}

bool save_map(map_document& doc, const std::string& file_name, std::string* error)
{
    update_map_source(doc);
    return replace_with(file_name, error, [&](buffered_file& file) {
        file_lines lines{file};
        for (std::size_t i = 0; i < doc.source.count(); ++i) {
            lines.buffer().append(doc.source.line(i));
            lines.end_line();
        }
    });
}

} // namespace wayloom
