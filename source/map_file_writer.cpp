// A map file written straight from the model. A large map's text is made
// in pieces by two threads at once, the main thread taking every other
// piece and writing each in order as soon as it and those before it are made.
#include "source/writer.h"

#include "source/map_text.h"

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

namespace wayloom {

using namespace map_text;

namespace {

// A run of records whose text is made at once: waypoints [first, last);
// every class; shapes [first, last); points [first, last) of set `set`. The
// first and last runs of a block add the block's opening and closing lines.
struct piece {
    enum kind_type { waypoints, classes, shapes, set_points } kind;
    std::size_t set = 0;
    std::size_t first = 0, last = 0;
};

// About this many lines' worth of records make a piece: large enough that
// handing pieces between the threads costs nothing much, small enough that
// the pieces made ahead take little memory.
constexpr std::size_t records_per_piece = 2048;

std::vector<piece> pieces_of(const map_document& doc)
{
    std::vector<piece> out;
    const auto runs = [&](piece::kind_type kind, std::size_t set, std::size_t count) {
        for (std::size_t first = 0; first < count; first += records_per_piece)
            out.push_back({kind, set, first, std::min(first + records_per_piece, count)});
    };
    runs(piece::waypoints, 0, doc.waypoints.size());
    if (!doc.classes.empty()) out.push_back({piece::classes, 0, 0, doc.classes.size()});
    // Shapes go whole into a piece, as many as make about one piece's worth
    // of nodes; a shape's own lines count for a few nodes.
    std::size_t first = 0, weight = 0;
    for (std::size_t i = 0; i < doc.shapes.size(); ++i) {
        weight += doc.shapes[i]->nodes.size() + 4;
        if (weight >= records_per_piece || i + 1 == doc.shapes.size()) {
            out.push_back({piece::shapes, 0, first, i + 1});
            first = i + 1;
            weight = 0;
        }
    }
    for (std::size_t s = 0; s < doc.sets.size(); ++s)
        runs(piece::set_points, s, static_cast<std::size_t>(std::max(doc.sets[s]->point_count, 0)));
    return out;
}

template <class Out>
void piece_to(Out& out, const map_document& doc, const piece& p)
{
    switch (p.kind) {
    case piece::waypoints:
        if (p.first == 0) waypoints_head(out);
        for (std::size_t i = p.first; i < p.last; ++i) waypoint_record(out, *doc.waypoints[i]);
        if (p.last == doc.waypoints.size()) waypoints_tail(out);
        break;
    case piece::classes:
        for (const auto& c : doc.classes) class_to(out, *c);
        break;
    case piece::shapes:
        for (std::size_t i = p.first; i < p.last; ++i) shape_to(out, doc, *doc.shapes[i]);
        break;
    case piece::set_points: {
        const t_set& set = *doc.sets[p.set];
        if (p.first == 0) set_head(out, doc, set);
        for (std::size_t i = p.first; i < p.last; ++i) set_point(out, doc, set, static_cast<std::int32_t>(i));
        if (p.last == static_cast<std::size_t>(set.point_count)) set_tail(out);
        break;
    }
    }
}

// The odd pieces, made by a second thread at most `ahead` pieces before the
// main thread takes them.
class odd_pieces {
public:
    odd_pieces(const map_document& doc, const std::vector<piece>& pieces)
        : worker_([this, &doc, &pieces](std::stop_token stop) { make(doc, pieces, stop); })
    {
    }

    // The text of the next odd piece, once it is made.
    void take(std::string& text)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return made_ > taken_; });
        text.swap(slots_[taken_ % ahead]);
        ++taken_;
        changed_.notify_all();
    }

private:
    static constexpr std::size_t ahead = 4;

    void make(const map_document& doc, const std::vector<piece>& pieces, std::stop_token stop)
    {
        std::string text;
        for (std::size_t k = 1; k < pieces.size(); k += 2) {
            text.clear();
            line_writer out(string_lines{text});
            piece_to(out, doc, pieces[k]);
            std::unique_lock lock(mutex_);
            if (!changed_.wait(lock, stop, [&] { return made_ - taken_ < ahead; })) return;
            slots_[made_ % ahead].swap(text);
            ++made_;
            changed_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::string slots_[ahead];
    std::size_t made_ = 0, taken_ = 0;
    std::jthread worker_;  // last: it starts once the rest is ready, and is joined first
};

} // namespace

bool write_map_file(const map_document& doc, const std::string& file_name, std::string* error)
{
    return replace_with(file_name, error, [&](buffered_file& file) {
        const std::vector<piece> pieces = pieces_of(doc);
        line_writer out(file_lines{file});
        if (pieces.size() < 4) {  // a small map: not worth a thread
            for (const piece& p : pieces) piece_to(out, doc, p);
            return;
        }
        odd_pieces odd(doc, pieces);
        std::string text;
        for (std::size_t k = 0; k < pieces.size(); k += 2) {
            piece_to(out, doc, pieces[k]);
            if (k + 1 == pieces.size()) break;
            odd.take(text);
            file.append(text);
        }
    });
}

} // namespace wayloom
