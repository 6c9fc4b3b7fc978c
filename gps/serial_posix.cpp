#include "gps/serial_posix.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace wayloom::gps {

namespace {

speed_t speed_of(long baud)
{
    switch (baud) {
    case 110: return B110;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    default: return 0;  // the device refuses other rates (14400 among them)
    }
}

} // namespace

bool posix_serial::open(const std::string& name)
{
    close();
    const int fd = ::open(device_path(name).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return false;
    // No other program may open the line while the link uses it.
    if (::ioctl(fd, TIOCEXCL) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

bool posix_serial::set_queues(std::size_t, std::size_t)
{
    // The kernel keeps its own queues; starting with them empty is what matters.
    return fd_ >= 0 && ::tcflush(fd_, TCIOFLUSH) == 0;
}

bool posix_serial::read_line_settings() { return fd_ >= 0 && ::tcgetattr(fd_, &settings_) == 0; }

bool posix_serial::apply_line_settings(const line_settings& s)
{
    const speed_t speed = speed_of(s.baud);
    if (fd_ < 0 || speed == 0 || s.data_bits < 5 || s.stop_bits == stop_bits::one_and_half) return false;
    termios t = settings_;
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | CMSPAR);
    t.c_cflag |= s.data_bits == 5 ? CS5 : s.data_bits == 6 ? CS6 : s.data_bits == 7 ? CS7 : CS8;
    switch (s.parity) {
    case parity::none: break;
    case parity::even: t.c_cflag |= PARENB; break;
    case parity::odd: t.c_cflag |= PARENB | PARODD; break;
    case parity::mark: t.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case parity::space: t.c_cflag |= PARENB | CMSPAR; break;
    }
    if (s.stop_bits == stop_bits::two) t.c_cflag |= CSTOPB;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (::cfsetispeed(&t, speed) != 0 || ::cfsetospeed(&t, speed) != 0) return false;
    return ::tcsetattr(fd_, TCSANOW, &t) == 0;
}

void posix_serial::set_timeouts(int interval_ms, int total_ms)
{
    interval_ms_ = std::max(0, interval_ms);
    total_ms_ = std::max(0, total_ms);
}

read_result posix_serial::read(std::uint8_t* into, std::size_t max, const enough_test& enough)
{
    using clock = std::chrono::steady_clock;
    read_result r;
    if (fd_ < 0) {
        r.error = EBADF;
        return r;
    }
    const auto deadline = clock::now() + std::chrono::milliseconds(total_ms_);
    while (r.count < max) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock::now()).count();
        if (left <= 0) break;
        // Before the first byte only the total time-out counts; after it, a
        // gap longer than the interval ends the read too.
        const long wait = r.count == 0 ? left : std::min<long>(left, interval_ms_);
        pollfd p{fd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(wait));
        if (ready < 0) {
            if (errno == EINTR) continue;
            r.error = errno;
            break;
        }
        if (ready == 0) break;
        if (p.revents & (POLLERR | POLLNVAL)) {
            r.error = EIO;
            break;
        }
        const ssize_t n = ::read(fd_, into + r.count, max - r.count);
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) continue;
            r.error = errno;
            break;
        }
        if (n == 0) {
            if (p.revents & POLLHUP) break;  // nobody at the other end
            continue;
        }
        r.count += static_cast<std::size_t>(n);
        if (enough && enough(r.count)) break;
    }
    return r;
}

long posix_serial::write(const std::uint8_t* bytes, std::size_t count)
{
    if (fd_ < 0) {
        errno = EBADF;
        return -1;
    }
    std::size_t done = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(total_ms_ + 1000);
    while (done < count) {
        const ssize_t n = ::write(fd_, bytes + done, count - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return done > 0 ? static_cast<long>(done) : -1;
        if (std::chrono::steady_clock::now() > deadline) break;
        pollfd p{fd_, POLLOUT, 0};
        ::poll(&p, 1, 50);
    }
    ::tcdrain(fd_);
    return static_cast<long>(done);
}

void posix_serial::close()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

std::vector<std::string> present_serial_devices()
{
    namespace fs = std::filesystem;
    std::vector<std::string> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/dev", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0) found.push_back(entry.path().string());
    }
    for (const auto& entry : fs::directory_iterator("/dev/serial/by-id", ec)) found.push_back(entry.path().string());
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace wayloom::gps
