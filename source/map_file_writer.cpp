// A map file written straight from the model. A large map's records are
// made into text by two threads: runs of records go alternately to this
// thread, which writes its runs into the file itself, and to a second one,
// which makes its runs into text that this thread then writes in order.
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

// About this many lines' worth of records make a run: large enough that
// handing runs between the threads costs nothing much, small enough that
// the runs in hand take little memory.
constexpr std::size_t run_weight = 2048;

// The second thread: makes each run it is given into text, in order.
class run_maker {
public:
    explicit run_maker(const map_document& doc)
        : worker_([this, &doc](std::stop_token stop) { make(doc, stop); })
    {
    }

    void give(std::vector<record>& run)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return given_ - taken_ < slots; });
        runs_[given_ % slots].swap(run);
        ++given_;
        changed_.notify_all();
    }
    bool owes_text() const { return taken_ < given_; }
    // The text of the oldest run not yet taken, once it is made.
    void take(std::string& text)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return made_ > taken_; });
        text.swap(texts_[taken_ % slots]);
        ++taken_;
        changed_.notify_all();
    }

private:
    static constexpr std::size_t slots = 4;

    void make(const map_document& doc, std::stop_token stop)
    {
        std::vector<record> run;
        std::string text;
        for (;;) {
            {
                std::unique_lock lock(mutex_);
                if (!changed_.wait(lock, stop, [&] { return given_ > made_; })) return;
                run.swap(runs_[made_ % slots]);
            }
            text.clear();
            line_writer out(string_lines{text});
            for (const record& r : run) write_record(out, doc, r);
            std::unique_lock lock(mutex_);
            texts_[made_ % slots].swap(text);
            ++made_;
            changed_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::vector<record> runs_[slots];
    std::string texts_[slots];
    std::size_t given_ = 0, made_ = 0, taken_ = 0;
    std::jthread worker_;  // last: it starts once the rest is ready, and is joined first
};

// The file as a sink of records, shared out between the two threads. Each
// run of this thread waits until the second thread has the run after it,
// so that both make text at once.
class two_thread_file {
public:
    two_thread_file(const map_document& doc, buffered_file& file) : doc_(doc), file_(file), maker_(doc) {}

    void operator()(const record& r)
    {
        current_.push_back(r);
        weight_ += weight_of(doc_, r);
        if (weight_ >= run_weight) end_run();
    }
    void finish()
    {
        if (!current_.empty()) end_run();
        while (maker_.owes_text()) take_text();
        write_mine();
    }

private:
    void end_run()
    {
        if (mine_next_) {
            mine_.swap(current_);
        } else {
            maker_.give(current_);
            if (given_ > 0) take_text();  // its run before mine
            write_mine();
            ++given_;
        }
        current_.clear();
        weight_ = 0;
        mine_next_ = !mine_next_;
    }
    void take_text()
    {
        maker_.take(text_);
        file_.append(text_);
    }
    void write_mine()
    {
        line_writer out(file_lines{file_});
        for (const record& r : mine_) write_record(out, doc_, r);
        mine_.clear();
    }

    const map_document& doc_;
    buffered_file& file_;
    std::vector<record> current_, mine_;
    std::size_t weight_ = 0, given_ = 0;
    bool mine_next_ = true;
    std::string text_;
    run_maker maker_;  // last: its thread is joined before the rest goes
};

// Whether the map is large enough for a second thread to pay.
bool worth_a_thread(const map_document& doc)
{
    std::size_t weight = doc.waypoints.size() + doc.classes.size();
    for (const auto& shape : doc.shapes) weight += shape->nodes.size() + 4;
    for (const auto& set : doc.sets) weight += static_cast<std::size_t>(std::max(set->point_count, 0));
    return weight >= 4 * run_weight;
}

} // namespace

bool write_map_file(const map_document& doc, const std::string& file_name, std::string* error)
{
    return replace_with(file_name, error, [&](buffered_file& file) {
        if (!worth_a_thread(doc)) {
            line_writer out(file_lines{file});
            map_to(out, doc);
            return;
        }
        two_thread_file sink(doc, file);
        for_each_record(doc, sink);
        sink.finish();
    });
}

} // namespace wayloom
