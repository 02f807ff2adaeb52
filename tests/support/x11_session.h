// x11_session.h: drives a real program on the X server: start it, find its window, move and
// click with xdotool, read screen pixels with import, and collect its exit status and output.
#pragma once
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

using std::chrono::milliseconds;

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};
std::string to_string(Rgb colour);  // "#rrggbb", for failure messages

constexpr Rgb BLACK{0, 0, 0};
constexpr Rgb WHITE{255, 255, 255};
constexpr Rgb YELLOW{255, 255, 0};

// A rectangle of screen pixels; at() takes coordinates relative to its top-left corner.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // row after row, three bytes a pixel

    Rgb at(int x, int y) const;
    int count(Rgb colour, int x, int y, int w, int h) const;  // pixels of that colour in a part
    int count(Rgb colour) const { return count(colour, 0, 0, width, height); }
    Image part(int x, int y, int w, int h) const;  // a rectangle of it, as an image of its own
    bool operator==(const Image&) const = default;
};

// Test failure messages name an image by its size rather than dumping its bytes.
void PrintTo(const Image& image, std::ostream* out);

// Parses a binary PPM (P6, maxval 255) as import writes it; throws on anything else.
Image parse_ppm(std::string_view data);

struct CommandResult {
    int status = -1;     // exit status, or -1 when it did not exit normally (or timed out)
    std::string output;  // standard output
};
// Runs a command (no shell), capturing its standard output; killed after the timeout.
CommandResult run_command(const std::vector<std::string>& argv, milliseconds timeout = milliseconds(10000));

// Moves the pointer to screen pixel (x, y), one pixel towards (x + dx, y + dy) and back, so that
// it arrives by motion, then presses button 1 there `presses` times in a quick series.
void click_screen(int x, int y, int presses = 1, int dx = 1, int dy = 1);

// Reads a rectangle of the screen (root window) with import.
Image screenshot(int x, int y, int width, int height);
// The same pixels read straight from the X server (XGetImage), without import's start-up: for
// harnesses that read the screen after every one of thousands of events.
Image grab_screen(int x, int y, int width, int height);

struct Geometry {
    int x = 0, y = 0, width = 0, height = 0;
};
// The size of the screen, in pixels.
Geometry screen_size();

// How a program ended.
struct Exit {
    bool exited = false;  // ended through exit(); otherwise by a signal
    int status = -1;      // exit status, or the signal's number
};

// A program (a path, or a name looked up in PATH) started on the X server named by DISPLAY, with
// its standard output and error collected in files.  The destructor ends it if it still runs.
class Program {
public:
    explicit Program(const std::string& path, const std::vector<std::string>& args = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    pid_t pid() const { return pid_; }

    // Waits for this program's window with exactly this title; throws on timeout.
    void wait_window(std::string_view title, milliseconds timeout = milliseconds(10000));
    const std::string& window() const { return window_; }
    // Looks once for that window; true when it is there (wait_window then finds it at once).
    bool has_window(std::string_view title) const;
    Geometry geometry() const;  // of the window, in screen pixels

    // Moves the pointer to (x, y) of the window, then presses button 1 there `presses` times in a
    // quick series, as fast as a double or triple click (GDK reports those as such).
    void click(int x, int y, int presses = 1) const;
    // Types the keys, by xdotool's names ("Left", "space", "ctrl+n"), each pressed and released
    // in turn, `repeat` times over, as fast as the server takes them.  The pointer goes to the
    // window's top-left corner first, on no widget that shows it: without a window manager the
    // keyboard goes to the window under the pointer.
    void keys(const std::vector<std::string>& names, int repeat = 1) const;
    // Holds one key down for a while, so that the X server repeats it, and releases it.
    void hold_key(const std::string& name, milliseconds how_long) const;
    // Returns once the program has handled every event sent to it so far and repainted what
    // that changed; throws if it does not answer (hangs) within the timeout.
    void sync(milliseconds timeout = milliseconds(20000)) const;
    // The program's resident memory (VmRSS) in KiB, or -1 once it has ended.
    long resident_kib() const;
    // Asks the window to close, as a window manager's close button does (WM_DELETE_WINDOW).
    void close_window() const;
    // The window's pixels in a rectangle given in window coordinates.
    Image read(int x, int y, int width, int height) const;
    Image grab(int x, int y, int width, int height) const;  // the same with grab_screen
    // Reads the rectangle until `ready` accepts it; returns the last reading.
    Image read_until(int x, int y, int width, int height, const std::function<bool(const Image&)>& ready,
                     milliseconds timeout = milliseconds(5000)) const;

    // Waits for the program to end; nullopt if it still runs after the timeout.
    std::optional<Exit> wait_exit(milliseconds timeout = milliseconds(5000));
    std::string standard_output() const;
    std::string standard_error() const;

private:
    pid_t pid_ = -1;
    std::optional<Exit> exit_;
    std::string window_;
    Geometry origin_;  // the window's position, read once it is found
    std::string out_path_;
    std::string err_path_;
};

}  // namespace e2e
