// x11_session.cpp: child processes, xdotool and import, for the end-to-end tests.
#include "tests/support/x11_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;

constexpr milliseconds POLL_INTERVAL(20);

std::vector<char*> argv_of(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    return argv;
}

Exit exit_of(int wait_status) {
    if (WIFEXITED(wait_status)) return Exit{true, WEXITSTATUS(wait_status)};
    return Exit{false, WIFSIGNALED(wait_status) ? WTERMSIG(wait_status) : -1};
}

std::string temporary_file(const char* role) {
    std::string path = std::string(P_tmpdir) + "/e2e-" + role + "-XXXXXX";
    const int fd = mkstemp(path.data());
    if (fd < 0) throw std::runtime_error("cannot create " + path);
    close(fd);
    return path;
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The value of NAME=value in xdotool's --shell output.
int shell_value(const std::string& text, const std::string& name) {
    const std::string key = name + "=";
    const size_t at = text.find(key);
    if (at == std::string::npos) throw std::runtime_error("no " + name + " in: " + text);
    return std::atoi(text.c_str() + at + key.size());
}

/* An X server started without -noreset starts over whenever its last client leaves, and refuses
   connections while it does.  Between two programs under test this process may be its only other
   client, so it keeps one connection of its own open for its whole life, made (retrying through
   such a reset) before the first program starts.  The connection also listens on the root window,
   where the answers to pings arrive. */
Display* hold_display() {
    static Display* held = nullptr;
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (!held) {
        held = XOpenDisplay(nullptr);
        if (!held && Clock::now() >= deadline) throw std::runtime_error("cannot open the display");
        if (!held) std::this_thread::sleep_for(POLL_INTERVAL);
        if (held) XSelectInput(held, DefaultRootWindow(held), SubstructureNotifyMask);
    }
    return held;
}

/* A window manager asks whether a program still answers by sending its window a _NET_WM_PING
   message; GDK sends each one straight back, to the root window, when its turn comes among the
   program's events.  The answer thus tells that every event sent before the ping has been
   handled.  Waits for it, passing over the other notices the root window gets. */
void ping(Display* display, Window window, long serial, milliseconds timeout) {
    const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom ping_atom = XInternAtom(display, "_NET_WM_PING", False);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(ping_atom);
    event.xclient.data.l[1] = serial;  // stands for the time stamp, which comes back unchanged
    event.xclient.data.l[2] = static_cast<long>(window);
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        while (XPending(display)) {
            XNextEvent(display, &event);
            if (event.type == ClientMessage && event.xclient.message_type == protocols &&
                static_cast<Atom>(event.xclient.data.l[0]) == ping_atom && event.xclient.data.l[1] == serial)
                return;
        }
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) throw std::runtime_error("the program did not answer a ping: it hangs");
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(std::min<long>(left, 50)));
    }
}

}  // namespace

std::string to_string(Rgb colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.r, colour.g, colour.b);
    return text;
}

void PrintTo(const Image& image, std::ostream* out) { *out << image.width << "x" << image.height << " image"; }

Rgb Image::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height)
        throw std::out_of_range("pixel " + std::to_string(x) + "," + std::to_string(y) + " outside the image");
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return Rgb{rgb[i], rgb[i + 1], rgb[i + 2]};
}

int Image::count(Rgb colour, int x, int y, int w, int h) const {
    int n = 0;
    for (int row = y; row < y + h; row++)
        for (int col = x; col < x + w; col++) n += at(col, row) == colour;
    return n;
}

Image Image::part(int x, int y, int w, int h) const {
    if (x < 0 || y < 0 || w < 0 || h < 0 || x + w > width || y + h > height)
        throw std::out_of_range("part " + std::to_string(w) + "x" + std::to_string(h) + " outside the image");
    Image piece{w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h * 3)};
    for (int row = 0; row < h; row++) {
        const auto from = rgb.begin() + (static_cast<ptrdiff_t>(y + row) * width + x) * 3;
        std::copy(from, from + w * 3, piece.rgb.begin() + static_cast<ptrdiff_t>(row) * w * 3);
    }
    return piece;
}

/* A binary PPM: "P6", width, height and maxval as decimal words separated by white space
   (comments start with '#'), then exactly one white-space byte and the pixels. */
Image parse_ppm(std::string_view data) {
    size_t pos = 0;
    auto skip_space = [&] {
        while (pos < data.size()) {
            if (data[pos] == '#') {
                while (pos < data.size() && data[pos] != '\n') pos++;
            } else if (std::isspace(static_cast<unsigned char>(data[pos]))) {
                pos++;
            } else {
                break;
            }
        }
    };
    auto number = [&] {
        skip_space();
        int value = 0;
        const size_t start = pos;
        while (pos < data.size() && std::isdigit(static_cast<unsigned char>(data[pos])))
            value = value * 10 + (data[pos++] - '0');
        if (pos == start) throw std::runtime_error("malformed PPM header");
        return value;
    };
    if (data.substr(0, 2) != "P6") throw std::runtime_error("not a binary PPM");
    pos = 2;
    Image image;
    image.width = number();
    image.height = number();
    if (number() != 255) throw std::runtime_error("PPM not 8 bits a channel");
    pos++;  // the single white-space byte before the pixels
    const size_t size = static_cast<size_t>(image.width) * image.height * 3;
    if (data.size() < pos + size) throw std::runtime_error("PPM pixels cut short");
    image.rgb.assign(data.begin() + pos, data.begin() + pos + size);
    return image;
}

CommandResult run_command(const std::vector<std::string>& args, milliseconds timeout) {
    int pipe_fds[2];
    if (pipe2(pipe_fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv = argv_of(args);
    pid_t pid;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipe_fds[1]);
    if (spawned != 0) {
        close(pipe_fds[0]);
        throw std::runtime_error("cannot start " + args[0]);
    }
    CommandResult result;
    const auto deadline = Clock::now() + timeout;
    bool timed_out = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            timed_out = true;
            break;
        }
        pollfd fd{pipe_fds[0], POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(left)) <= 0) continue;
        char buffer[65536];
        const ssize_t n = read(pipe_fds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        result.output.append(buffer, static_cast<size_t>(n));
    }
    close(pipe_fds[0]);
    if (timed_out) kill(pid, SIGKILL);
    int status;
    waitpid(pid, &status, 0);
    const Exit exit = exit_of(status);
    result.status = exit.exited && !timed_out ? exit.status : -1;
    return result;
}

Geometry screen_size() {
    Display* display = hold_display();
    return Geometry{0, 0, DisplayWidth(display, DefaultScreen(display)), DisplayHeight(display, DefaultScreen(display))};
}

Image screenshot(int x, int y, int width, int height) {
    const std::string crop =
        std::to_string(width) + "x" + std::to_string(height) + "+" + std::to_string(x) + "+" + std::to_string(y);
    const CommandResult shot = run_command({"import", "-window", "root", "-crop", crop, "-depth", "8", "ppm:-"});
    if (shot.status != 0) throw std::runtime_error("import failed for " + crop);
    Image image = parse_ppm(shot.output);
    if (image.width != width || image.height != height) throw std::runtime_error("import returned another size");
    return image;
}

Image grab_screen(int x, int y, int width, int height) {
    Display* display = hold_display();
    XImage* shot = XGetImage(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(width),
                             static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!shot) throw std::runtime_error("XGetImage failed");
    Image image{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 3)};
    auto* pixel = image.rgb.data();
    const auto channel = [](unsigned long value, unsigned long mask) {
        while (mask && !(mask & 1)) value >>= 1, mask >>= 1;
        return static_cast<uint8_t>(value & mask);
    };
    for (int row = 0; row < height; row++)
        for (int col = 0; col < width; col++) {
            const unsigned long value = XGetPixel(shot, col, row);
            *pixel++ = channel(value, shot->red_mask);
            *pixel++ = channel(value, shot->green_mask);
            *pixel++ = channel(value, shot->blue_mask);
        }
    XDestroyImage(shot);
    return image;
}

Program::Program(const std::string& path, const std::vector<std::string>& args)
    : out_path_(temporary_file("stdout")), err_path_(temporary_file("stderr")) {
    hold_display();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out_path_.c_str(), O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_path_.c_str(), O_WRONLY | O_TRUNC, 0);
    std::vector<std::string> all{path};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv = argv_of(all);
    const int spawned = posix_spawnp(&pid_, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot start " + path);
}

Program::~Program() {
    if (!exit_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    unlink(out_path_.c_str());
    unlink(err_path_.c_str());
}

namespace {
// This program's visible window with exactly that title, or "" when there is none yet.
std::string find_window(pid_t pid, std::string_view title) {
    const std::string name = "^" + std::string(title) + "$";
    const CommandResult found =
        run_command({"xdotool", "search", "--all", "--onlyvisible", "--pid", std::to_string(pid), "--name", name});
    return found.status == 0 ? found.output.substr(0, found.output.find('\n')) : "";
}
}  // namespace

bool Program::has_window(std::string_view title) const { return !find_window(pid_, title).empty(); }

void Program::wait_window(std::string_view title, milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        const std::string found = find_window(pid_, title);
        if (!found.empty()) {
            window_ = found;
            origin_ = geometry();
            return;
        }
        if (wait_exit(milliseconds(0))) throw std::runtime_error("the program ended before its window appeared");
        std::this_thread::sleep_for(POLL_INTERVAL);
    }
    throw std::runtime_error("no window titled " + std::string(title));
}

Geometry Program::geometry() const {
    const CommandResult shell = run_command({"xdotool", "getwindowgeometry", "--shell", window_});
    if (shell.status != 0) throw std::runtime_error("no geometry for window " + window_);
    return Geometry{shell_value(shell.output, "X"), shell_value(shell.output, "Y"), shell_value(shell.output, "WIDTH"),
                    shell_value(shell.output, "HEIGHT")};
}

// The toolkit records the pointer on motion, not on the press, and a warp into a window brings
// only an enter event, no motion: hence the step aside and back.  A series of presses comes 40 ms
// apart, well inside GTK's double-click time.
void click_screen(int x, int y, int presses, int dx, int dy) {
    const auto at = [](int px, int py) {
        return std::vector<std::string>{"mousemove", std::to_string(px), std::to_string(py)};
    };
    std::vector<std::string> command{"xdotool"};
    for (const auto& step : {at(x, y), at(x + dx, y + dy), at(x, y)})
        command.insert(command.end(), step.begin(), step.end());
    const std::string gap = presses > 1 ? "40" : "0";
    command.insert(command.end(), {"click", "--repeat", std::to_string(presses), "--delay", gap, "1"});
    const CommandResult done = run_command(command);
    if (done.status != 0) throw std::runtime_error("xdotool could not click");
}

// The step aside goes towards the window's centre, which stays inside any widget the target
// lies in.
void Program::click(int x, int y, int presses) const {
    click_screen(origin_.x + x, origin_.y + y, presses, x < origin_.width / 2 ? 1 : -1, y < origin_.height / 2 ? 1 : -1);
}

void Program::keys(const std::vector<std::string>& names, int repeat) const {
    std::vector<std::string> command{"xdotool", "mousemove", std::to_string(origin_.x + 1), std::to_string(origin_.y + 1),
                                     "key", "--repeat", std::to_string(repeat), "--delay", "0"};
    command.insert(command.end(), names.begin(), names.end());
    if (run_command(command).status != 0) throw std::runtime_error("xdotool could not type");
}

void Program::hold_key(const std::string& name, milliseconds how_long) const {
    const double seconds = std::chrono::duration<double>(how_long).count();
    const CommandResult done = run_command({"xdotool", "mousemove", std::to_string(origin_.x + 1),
                                            std::to_string(origin_.y + 1), "keydown", name, "sleep",
                                            std::to_string(seconds), "keyup", name});
    if (done.status != 0) throw std::runtime_error("xdotool could not hold " + name);
}

namespace {
// The state letter of a process's main thread in /proc ('R' running, 'S' sleeping, ...).
char process_state(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const size_t name_end = text.rfind(')');  // the name may hold blanks and parentheses
    return name_end != std::string::npos && name_end + 2 < text.size() ? text[name_end + 2] : '?';
}
}  // namespace

/* A first ping is answered once the events sent before it are handled.  What they changed is
   repainted when the program next has nothing else to do; it then sleeps in the main loop's
   poll, and is seen asleep a few times in a row.  A second ping is answered after that repaint's
   drawing, which the X server has then carried out. */
void Program::sync(milliseconds timeout) const {
    static long serial = 0;
    Display* display = hold_display();
    const Window target = std::stoul(window_);
    ping(display, target, ++serial, timeout);
    const auto deadline = Clock::now() + timeout;
    for (int asleep = 0; asleep < 3 && Clock::now() < deadline;) {
        std::this_thread::sleep_for(milliseconds(1));
        asleep = process_state(pid_) == 'S' ? asleep + 1 : 0;
    }
    ping(display, target, ++serial, timeout);
}

long Program::resident_kib() const {
    std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

void Program::close_window() const {
    Display* display = XOpenDisplay(nullptr);
    if (!display) throw std::runtime_error("cannot open the display");
    const Window target = std::stoul(window_);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = target;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, target, False, NoEventMask, &event);
    XCloseDisplay(display);  // flushes the request
}

Image Program::read(int x, int y, int width, int height) const {
    return screenshot(origin_.x + x, origin_.y + y, width, height);
}

Image Program::grab(int x, int y, int width, int height) const {
    return grab_screen(origin_.x + x, origin_.y + y, width, height);
}

Image Program::read_until(int x, int y, int width, int height, const std::function<bool(const Image&)>& ready,
                          milliseconds timeout) const {
    const auto deadline = Clock::now() + timeout;
    Image image = read(x, y, width, height);
    while (!ready(image) && Clock::now() < deadline) {
        std::this_thread::sleep_for(POLL_INTERVAL);
        image = read(x, y, width, height);
    }
    return image;
}

std::optional<Exit> Program::wait_exit(milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!exit_) {
        int status;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            exit_ = exit_of(status);
            break;
        }
        if (Clock::now() >= deadline) break;
        std::this_thread::sleep_for(milliseconds(5));
    }
    return exit_;
}

std::string Program::standard_output() const { return read_file(out_path_); }

std::string Program::standard_error() const { return read_file(err_path_); }

}  // namespace e2e
