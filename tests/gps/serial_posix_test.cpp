#include "gps/packet_port.h"
#include "gps/serial_posix.h"
#include "scripted_device.h"

#include <gtest/gtest.h>

#include <chrono>
#include <pty.h>
#include <thread>
#include <unistd.h>

namespace wayloom::gps {
namespace {

TEST(line_settings, read_like_the_windows_call)
{
    struct row {
        const char* text;
        bool ok;
        long baud = 0;
        gps::parity parity = parity::none;
        int data = 0;
        gps::stop_bits stop = stop_bits::one;
    };
    const row rows[] = {
        {"baud=9600 parity=N data=8 stop=1", true, 9600, parity::none, 8, stop_bits::one},
        {"BAUD=4800 PARITY=e DATA=7 STOP=2", true, 4800, parity::even, 7, stop_bits::two},
        {"baud=14400 parity=M data=5 stop=1.5", true, 14400, parity::mark, 5, stop_bits::one_and_half},
        {"baud=9600 parity=S data=8 stop=1", true, 9600, parity::space, 8, stop_bits::one},
        {"baud=fast parity=N data=8 stop=1", false},
        {"baud=9600 parity=Q data=8 stop=1", false},
        {"baud=9600 parity= data=8 stop=1", false},
        {"baud=9600 parity=N data=9 stop=1", false},
        {"baud=9600 parity=N data=8 stop=3", false},
        {"speed=9600", false},
        {"", false},
    };
    for (const row& r : rows) {
        const auto s = parse_line_settings(r.text);
        ASSERT_EQ(s.has_value(), r.ok) << r.text;
        if (!s) continue;
        EXPECT_EQ(s->baud, r.baud) << r.text;
        EXPECT_EQ(s->parity, r.parity) << r.text;
        EXPECT_EQ(s->data_bits, r.data) << r.text;
        EXPECT_EQ(s->stop_bits, r.stop) << r.text;
    }
}

TEST(line_settings, port_names)
{
    EXPECT_EQ(device_path("COM1"), "/dev/ttyS0");
    EXPECT_EQ(device_path("com3"), "/dev/ttyS2");
    EXPECT_EQ(device_path("/dev/ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(device_path("COMX"), "COMX");
}

struct pty_pair {
    int master = -1, slave = -1;
    std::string path;
    pty_pair()
    {
        char name[256];
        if (::openpty(&master, &slave, name, nullptr, nullptr) == 0) path = name;
    }
    ~pty_pair()
    {
        ::close(master);
        ::close(slave);
    }
};

using clock = std::chrono::steady_clock;
long elapsed_ms(clock::time_point since)
{
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(clock::now() - since).count());
}

TEST(posix_serial, opens_exclusively_and_refuses_rates_the_line_cannot_run)
{
    pty_pair p;
    ASSERT_FALSE(p.path.empty());
    posix_serial port;
    ASSERT_TRUE(port.open(p.path));
    EXPECT_TRUE(port.set_queues(4096, 4096));
    ASSERT_TRUE(port.read_line_settings());
    EXPECT_TRUE(port.apply_line_settings({9600, parity::none, 8, stop_bits::one}));
    EXPECT_TRUE(port.apply_line_settings({4800, parity::odd, 7, stop_bits::two}));
    EXPECT_FALSE(port.apply_line_settings({14400, parity::none, 8, stop_bits::one}));
    EXPECT_FALSE(port.apply_line_settings({9600, parity::none, 4, stop_bits::one}));
    posix_serial missing;
    EXPECT_FALSE(missing.open("/dev/no-such-serial-port"));
}

TEST(posix_serial, a_read_ends_on_count_total_or_interval)
{
    pty_pair p;
    posix_serial port;
    ASSERT_TRUE(port.open(p.path));
    ASSERT_TRUE(port.read_line_settings());
    ASSERT_TRUE(port.apply_line_settings({9600, parity::none, 8, stop_bits::one}));
    std::uint8_t buffer[64];

    // Nothing comes: the total time-out ends the read.
    port.set_timeouts(20, 150);
    auto start = clock::now();
    read_result r = port.read(buffer, sizeof buffer);
    EXPECT_EQ(r.count, 0u);
    EXPECT_GE(elapsed_ms(start), 140);

    // The asked count arrived: the read ends at once.
    const std::uint8_t six[6] = {1, 2, 3, 4, 5, 6};
    ASSERT_EQ(::write(p.master, six, 6), 6);
    port.set_timeouts(1000, 5000);
    start = clock::now();
    r = port.read(buffer, 6);
    EXPECT_EQ(r.count, 6u);
    EXPECT_LT(elapsed_ms(start), 1000);

    // A gap longer than the interval after the first bytes ends it.
    port.set_timeouts(50, 5000);
    std::thread sender([&] {
        ::write(p.master, six, 3);
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        ::write(p.master, six, 3);
    });
    start = clock::now();
    r = port.read(buffer, sizeof buffer);
    const long took = elapsed_ms(start);
    sender.join();
    EXPECT_EQ(r.count, 3u);
    EXPECT_LT(took, 350);
    r = port.read(buffer, sizeof buffer);
    EXPECT_EQ(r.count, 3u) << "the later bytes wait for the next read";

    // The caller has enough: the read ends at once.
    ASSERT_EQ(::write(p.master, six, 6), 6);
    port.set_timeouts(1000, 5000);
    start = clock::now();
    r = port.read(buffer, sizeof buffer, [](std::size_t gathered) { return gathered >= 6; });
    EXPECT_EQ(r.count, 6u);
    EXPECT_LT(elapsed_ms(start), 500);
}

// The packet port on a real terminal device: when a read ends.
struct pty_port {
    pty_pair line;
    link_observer quiet;
    link_log log{quiet, "/dev/null"};
    packet_port port{std::make_unique<posix_serial>(), log};

    explicit pty_port(const char* timeout = "100", const char* interval = "10")
    {
        port_texts texts;
        texts.port = line.path;
        texts.timeout = timeout;
        texts.interval = interval;
        EXPECT_TRUE(port.set_up(texts));
    }
    // Writes the bytes one at a time, `gap` apart, after `delay`.
    std::thread send(std::vector<std::uint8_t> bytes, std::chrono::milliseconds delay, std::chrono::milliseconds gap)
    {
        return std::thread([this, bytes, delay, gap] {
            std::this_thread::sleep_for(delay);
            for (const std::uint8_t b : bytes) {
                ::write(line.master, &b, 1);
                std::this_thread::sleep_for(gap);
            }
        });
    }
};

TEST(posix_serial, a_read_ends_the_moment_a_whole_frame_is_in)
{
    using std::chrono::milliseconds;
    pty_port p("5000", "1000");
    const auto frame = testing::frame(35, {1, 2, 16, 4});
    auto sender = p.send(frame, milliseconds(0), milliseconds(0));
    const auto start = clock::now();
    const auto got = p.port.read_packet();
    const long took = elapsed_ms(start);
    sender.join();
    ASSERT_TRUE(got);
    EXPECT_EQ(got->data, (std::vector<std::uint8_t>{1, 2, 16, 4}));
    EXPECT_LT(took, 500) << "no wait for the interval time-out after the last byte";
}

TEST(posix_serial, slow_replies_are_still_read)
{
    using std::chrono::milliseconds;
    struct row {
        const char* name;
        milliseconds delay, gap;
    };
    const row rows[] = {
        {"first byte after 60 ms of a 100 ms time-out", milliseconds(60), milliseconds(0)},
        {"bytes 8 ms apart for longer than the time-out", milliseconds(0), milliseconds(8)},
    };
    for (const row& r : rows) {
        pty_port p;
        std::vector<std::uint8_t> data(24, 7);
        auto sender = p.send(testing::frame(35, data), r.delay, r.gap);
        const auto got = p.port.read_packet();
        sender.join();
        ASSERT_TRUE(got) << r.name;
        EXPECT_EQ(got->data, data) << r.name;
    }
}

} // namespace
} // namespace wayloom::gps
