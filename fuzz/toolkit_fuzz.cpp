// toolkit_fuzz.cpp: the WEX toolkit driven on the virtual X server by sequences of calls with
// hostile texts, handles and numbers; a crash, a sanitizer report or a GTK critical is a finding.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz/input.h"
#include "runtime/runtime.h"
#include "wex/properties.h"
#include "wex/registry.h"
#include "wex/wex.h"

/*
 * The toolkit starts once, in LLVMFuzzerInitialize, with a few fixed windows and canvases
 * (GTK and, where the system has it, OpenGL).  Each input is a program: every byte picks a
 * call, the following bytes its arguments.  Arguments come from small tables of the values
 * that break things (extreme and negative numbers, colour texts, markup, option words) or
 * raw from the input, and every text is handed over in one of the forms a program may hold:
 * a literal, a runtime string, a plain heap copy, a pointer into the middle of either (at odd
 * and even offsets), the empty text or null.  Handles are those the run made, a few kept from
 * earlier runs, the fixtures, null and a pointer the toolkit never made.
 *
 * The toolkit never frees a widget, so every constructor draws on a budget for the whole
 * process; once a kind's budget is spent the run uses a widget of that kind kept from before.
 * Calls that block or end the process are left out: QUIT, DISPLAY, GRAB$ on a clipboard
 * (it waits for the selection), CALLBACK on a widget without a callback signal or with a
 * function whose arguments are not its signal's, KEYCALLBACK on what is no window (they exit by
 * design).  Dialogs are answered through GTK, so that the functions asking for the answer run.
 * Timers and signal handlers only count, so SYNC always comes back.
 *
 * A finding may need the state that every earlier run built up, so the inputs since start are
 * kept in a history file beside libFuzzer's own findings (toolkit_fuzz-PID.history, removed at a
 * clean end).  Given as an input, a history replays its runs in order:
 *     toolkit_fuzz toolkit_fuzz-PID.history
 */

namespace {

using fuzz::Input;

// --- numbers -------------------------------------------------------------------------------

constexpr int32_t NUMBERS[] = {0,      1,       -1,      2,       5,        10,      50,      100,
                               255,    1000,    32767,   32768,   -32768,   -32769,  65535,   65536,
                               65636,  70000,   -70000,  1 << 20, -(1 << 20), INT_MAX, INT_MIN, INT_MAX - 1,
                               INT_MIN + 1, 150, 600,   -100};

int32_t number(Input& in) {
    const uint8_t b = in.byte();
    if (b < std::size(NUMBERS) * 8) return NUMBERS[b % std::size(NUMBERS)];
    return in.raw();
}

// A widget's size or place: now and then an extreme number, mostly one that a window shows
// without X painting thousands of pixels nobody sees (which slows every later run down).
int32_t extent(Input& in) {
    const uint8_t b = in.byte();
    return b < 224 ? b : number(in);
}

// A small number, for counts and selectors that must stay in reach (sizes of new canvases).
int32_t small(Input& in) { return int32_t(in.byte() % 64) - 8; }

constexpr double REALS[] = {0, 1, -1, 0.5, 100, 1e300, -1e300, INFINITY, -INFINITY, NAN, 1e-300, DBL_MAX, -DBL_MAX};

double real(Input& in) {
    const uint8_t b = in.byte();
    if (b < std::size(REALS) * 16) return REALS[b % std::size(REALS)];
    return double(in.raw()) / 16;
}

// --- texts ---------------------------------------------------------------------------------

#ifndef WEX_SOURCE_DIR
#define WEX_SOURCE_DIR "."
#endif

const char* const WORDS[] = {
    "", " ", "x", "gtk-new", "gtk-quit", "gtk-ok", "no-such-stock", "_Mnemonic", "red", "white", "#cccccc",
    "#ff0000", "#12345", "#GGGGGG", "#ffffffffffff", "rgb(1,2,3)", "<b>25</b>", "<i>open", "<span foreground='blue'>x</span>",
    "&amp;", "&bogus;", "%s%n%d", "\xff\xfe", "\xc3\x28", "caf\xc3\xa9", "a b\tc\nd", "0", "-1", "1e20", "nan",
    "foreground: blue", "font-desc: Sans 12", "tabs: 3", "weight: 700", "weight: -5", "size-points: 1e300",
    "style: italic", "editable: false", "wrap-mode: 99", "name: x", "scale: nan", "background-gdk: red",
    "nosuchproperty: 1", ":", ",", "\"a,b\": c", "gtk", "goo", "glext", "glarea", "Unknown",
    WEX_SOURCE_DIR "/games/kelvado/desktop/kelvado-48.png", WEX_SOURCE_DIR "/games/kelvado/desktop/kelvado.svg",
    WEX_SOURCE_DIR "/README.md", "/nonexistent/picture.png", "/", "/tmp",
};

// Entries of a file dialog's choice, sound and broken.
const char* const URIS[] = {"file:///tmp/a%20b", "/tmp/caf%C3%A9.txt", "my%20file.txt", "100%25", "%", "%4", "%g0",
                            "%00", "a%2Fb", "file://host/x", "file://", "/a b /c", ""};

constexpr const char* KEYWORDS[] = {"TABLE", "BASEXFTDPI", "NOSCALING", "SCALING", "WIDGET_SHOW", "FONT",
                                    "CANVAS", "GL_FREEZE", "CLIPBOARD", "MARKUP", "TABLEAU", "XTABLE", "canvas",
                                    "CANVAS GL", "CANVAS GTK", "CANVAS GLEXT", "CANVAS GLAREA", "CANVAS GOO"};

// Texts made for one run, and the blocks to release when it ends.
class Texts {
public:
    ~Texts() {
        for (char* block : runtime_) __t4k__free(block);
        for (char* block : plain_) std::free(block);
    }

    // The words of a text: from the table, or raw bytes of the input (any byte but zero).
    std::string content(Input& in) {
        const uint8_t b = in.byte();
        if (b < 192) return WORDS[b % std::size(WORDS)];
        std::string raw;
        for (int n = b - 192; n > 0 && in.size; --n)
            if (const char c = char(in.byte())) raw += c;
        return raw;
    }

    // `text` in one of the forms a program may hold.
    const char* hand_over(Input& in, const std::string& text) {
        const uint8_t form = in.byte();
        const size_t prefix = 1 + form / 8 % 8;  // odd and even offsets into a longer block
        const std::string padded = std::string(prefix, '#') + text;
        switch (form % 8) {
        case 0: return literal(text);
        case 1: return runtime(text);
        case 2: return plain(text);
        case 3: return runtime(padded) + prefix;
        case 4: return plain(padded) + prefix;
        case 5: return nullptr;
        case 6: return "";
        default: return literal(padded) + prefix;
        }
    }

    const char* text(Input& in) { return hand_over(in, content(in)); }

    // An option: a keyword, perhaps an argument (an extreme number or a text).
    const char* option(Input& in) {
        std::string option = KEYWORDS[in.byte() % std::size(KEYWORDS)];
        const uint8_t b = in.byte();
        if (b % 4 == 1) option += " " + std::to_string(number(in));
        if (b % 4 == 2) option += " " + std::to_string(real(in));
        if (b % 4 == 3) option += " " + content(in);
        if (b >= 128) option += " " + std::to_string(number(in)) + " " + std::to_string(small(in));
        return hand_over(in, option);
    }

private:
    const char* literal(const std::string& text) { return literals_.emplace_back(text).c_str(); }
    char* runtime(const std::string& text) { return runtime_.emplace_back(t4k_copy_tail(nullptr, text.c_str())); }
    char* plain(const std::string& text) { return plain_.emplace_back(__t4k__strdup(text.c_str())); }

    std::deque<std::string> literals_;
    std::vector<char*> runtime_, plain_;
};

// --- handles -------------------------------------------------------------------------------

// Constructors, each with its budget of widgets for the whole process.
enum Kind { WINDOW_K, NOTEBOOK_K, FRAME_K, BUTTON_K, STOCK_K, TOGGLE_K, CHECK_K, RADIO_K, ENTRY_K, WEXENTRY_K,
            PASSWORD_K, MARK_K, COMBO_K, HSEPARATOR_K, VSEPARATOR_K, EDIT_K, LIST_K, MSGDIALOG_K, FILEDIALOG_K,
            SPIN_K, HSLIDER_K, VSLIDER_K, IMAGE_K, CLIPBOARD_K, PROGRESSBAR_K, CANVAS_K, KIND_COUNT };
constexpr int BUDGET[KIND_COUNT] = {30,   300,  1500, 1500, 1500, 1500, 1500, 1500, 1500, 500,
                                    500,  1500, 1500, 300,  300,  800,  800,  30,   8,    800,
                                    800,  800,  500,  50,   800,  60};
int made[KIND_COUNT];
std::vector<Widget> kept[KIND_COUNT];  // some of each kind, for runs after the budget is spent
constexpr size_t KEPT = 16;

struct Fixtures {
    Widget windows[3];
    Widget notebook;
    Widget canvases[3];
} fixtures;
// Every widget placed in a window is laid out and restyled with it from then on: placements are
// budgeted too, the fixture windows' more tightly.
int attached = 0, attached_to_fixtures = 0;
constexpr int ATTACHMENTS = 2000, FIXTURE_CHILDREN = 300;

const auto BOGUS = reinterpret_cast<Widget>(intptr_t(0x4d2));

class Handles {
public:
    Handles() {
        for (Widget w : fixtures.windows) list_.push_back(w);
        list_.push_back(fixtures.notebook);
        for (Widget w : fixtures.canvases) list_.push_back(w);
    }
    // Any handle of the run, null, or one the toolkit never made.
    Widget any(Input& in) {
        const size_t b = in.byte() % (list_.size() + 2);
        if (b == list_.size()) return nullptr;
        if (b == list_.size() + 1) return BOGUS;
        return list_[b];
    }
    // A handle of a GTK object (no null, no stranger): what REGISTER may be given.
    Widget real(Input& in) { return list_[in.byte() % list_.size()]; }
    // One the run made itself (fixtures are left as they are), or null when it made none.
    Widget own(Input& in) { return list_.size() > fixed_ ? list_[fixed_ + in.byte() % (list_.size() - fixed_)] : nullptr; }
    void add(Widget w) {
        if (w) list_.push_back(w);
    }
    bool fixture(Widget w) const {
        for (size_t i = 0; i < fixed_; ++i)
            if (list_[i] == w) return true;
        return false;
    }

private:
    std::vector<Widget> list_;
    size_t fixed_ = 3 + 1 + 3;
};

const char* kind_of(Widget w) { return WEX_GET(wex_widget_type$, w); }

// --- program functions the toolkit calls back ----------------------------------------------

int signals, timer_runs;
void on_signal() { ++signals; }
void on_answer(Widget, int, void*) { ++signals; }
int on_press(Widget, void*, void*) { return ++signals % 2; }
int on_key(Widget, int key, void*) { return key % 2; }
// The kinds whose CALLBACK signal passes arguments, with a function that asks for them (CALLBACK
// ends the program for a function whose arguments are not its signal's).
const std::pair<const char*, wex::Callback> WITH_ARGUMENTS[] = {
    {"msgdialog", on_answer}, {"filedialog", on_answer}, {"canvas", on_press}, {"image", on_press}};

// A dialog's answer as a click on one of its buttons gives it, from GTK itself.
void answer(Widget dialog, int response) {
    using Respond = void (*)(void*, int);
    static const auto respond = reinterpret_cast<Respond>(dlsym(RTLD_DEFAULT, "gtk_dialog_response"));
    if (respond) respond(dialog, response);
}
int on_timer(void*) { return ++timer_runs < 3; }
const char* external_grab(Widget) { return "external"; }
void external_text(Widget, const char*) {}
int external_get(Widget) { return 7; }
void external_set(Widget, int) {}
const t4k_fn EXTERNAL[] = {reinterpret_cast<t4k_fn>(external_grab), reinterpret_cast<t4k_fn>(external_text),
                           reinterpret_cast<t4k_fn>(external_get), reinterpret_cast<t4k_fn>(external_set)};

// --- the calls -----------------------------------------------------------------------------

struct Run {
    Input in;
    Texts texts;
    Handles handles;

    Widget construct(Kind kind) {
        if (made[kind] >= BUDGET[kind]) {
            if (kept[kind].empty()) return nullptr;
            return kept[kind][in.byte() % kept[kind].size()];
        }
        ++made[kind];
        Widget w = build(kind);
        if (w && kept[kind].size() < KEPT) kept[kind].push_back(w);
        return w;
    }

    Widget build(Kind kind) {
        switch (kind) {
        case WINDOW_K: return WINDOW(texts.text(in), extent(in), extent(in));
        case NOTEBOOK_K: return NOTEBOOK(texts.text(in), extent(in), extent(in));
        case FRAME_K: return FRAME(extent(in), extent(in));
        case BUTTON_K: return BUTTON(texts.text(in), extent(in), extent(in));
        case STOCK_K: return STOCK(texts.text(in), extent(in), extent(in));
        case TOGGLE_K: return TOGGLE(texts.text(in), extent(in), extent(in));
        case CHECK_K: return CHECK(texts.text(in), extent(in), extent(in));
        case RADIO_K: return RADIO(texts.text(in), extent(in), extent(in), handles.any(in));
        case ENTRY_K: return ENTRY(texts.text(in), extent(in), extent(in));
        case WEXENTRY_K: return WEXENTRY(texts.text(in), extent(in), extent(in));
        case PASSWORD_K: return PASSWORD(extent(in), extent(in));
        case MARK_K: return MARK(texts.text(in), extent(in), extent(in));
        case COMBO_K: return COMBO(texts.text(in), extent(in), extent(in));
        case HSEPARATOR_K: return HSEPARATOR(extent(in));
        case VSEPARATOR_K: return VSEPARATOR(extent(in));
        case EDIT_K: return EDIT(extent(in), extent(in));
        case LIST_K: return LIST(extent(in), extent(in));
        case MSGDIALOG_K: return MSGDIALOG(texts.text(in), extent(in), extent(in), number(in), number(in));
        case FILEDIALOG_K: return FILEDIALOG(texts.text(in), texts.text(in), extent(in), extent(in), number(in));
        case SPIN_K: return SPIN(extent(in), extent(in), real(in), real(in), real(in));
        case HSLIDER_K: return HSLIDER(extent(in), extent(in), real(in), real(in), real(in));
        case VSLIDER_K: return VSLIDER(extent(in), extent(in), real(in), real(in), real(in));
        case IMAGE_K: return IMAGE(texts.text(in), extent(in), extent(in));
        case CLIPBOARD_K: return CLIPBOARD();
        case PROGRESSBAR_K: return PROGRESSBAR(texts.text(in), extent(in), extent(in));
        case CANVAS_K: return new_canvas();
        default: return nullptr;
        }
    }

    // One side may be extreme; the other stays small, so that no pixmap outgrows the server.
    Widget new_canvas() {
        const int32_t a = number(in), b = small(in);
        return in.byte() % 2 ? CANVAS(a, b) : CANVAS(b, a);
    }

    void attach() {
        Widget parent = handles.any(in), child = handles.any(in);
        const int32_t x = extent(in), y = extent(in);
        if (handles.fixture(child) || ++attached > ATTACHMENTS) return;
        if (handles.fixture(parent) && ++attached_to_fixtures > FIXTURE_CHILDREN) return;
        ATTACH(parent, child, x, y);
    }

    void draw() {
        const uint8_t shape = in.byte() % 8;
        const char* colour = texts.text(in);
        const int32_t x = number(in), y = number(in), w = number(in), h = number(in);
        switch (shape) {
        case 0: CIRCLE(colour, x, y, w, h, in.byte() % 2); break;
        case 1: SQUARE(colour, x, y, w, h, in.byte() % 2); break;
        case 2: LINE(colour, x, y, w, h); break;
        case 3: PIXEL(colour, x, y); break;
        case 4: OUT(colour, texts.text(in), texts.text(in), x, y); break;
        case 5: PICTURE(colour, x, y, w, h); break;
        case 6: GETCOLOR$(x, y, in.byte() % 2); break;
        default: DRAW(handles.any(in)); break;
        }
    }

    // TEXT adds a page to a notebook and a row or a line to a combo box, a list or an edit: those
    // grow for good, so they draw on a budget too.
    void text(Widget w, const char* text) {
        static int added = 0;
        constexpr int ADDITIONS = 20000;
        const char* kind = kind_of(w);
        for (const char* growing : {"notebook", "combo", "list", "edit"})
            if (std::strcmp(kind, growing) == 0 && ++added > ADDITIONS) return;
        TEXT(w, text);
    }

    void property() {
        Widget w = handles.any(in);
        switch (in.byte() % 4) {
        case 0: text(w, texts.text(in)); break;
        case 1:
            if (std::strcmp(kind_of(w), "clipboard") != 0) GRAB$(w);
            break;
        case 2: SET(w, number(in)); break;
        default: GET(w); break;
        }
    }

    void look() {
        Widget w = handles.any(in);
        switch (in.byte() % 7) {
        case 0: SHOW(w); break;
        case 1: HIDE(w); break;
        case 2: DISABLE(w); break;
        case 3: ENABLE(w); break;
        case 4: FOCUS(w); break;
        case 5: UNFOCUS(w); break;
        default: FONT(w, texts.text(in)); break;
        }
    }

    // The function the kind's signal passes its arguments to, or one that asks for none.
    static wex::Callback asking_for_arguments(Widget w) {
        for (const auto& [kind, function] : WITH_ARGUMENTS)
            if (std::strcmp(kind_of(w), kind) == 0) return function;
        return on_signal;
    }

    void connect() {
        Widget w = handles.any(in);
        const uint8_t choice = in.byte();
        if (choice % 8 == 7) {  // KEYCALLBACK, like CALLBACK, ends the program for what is no window
            if (std::strcmp(kind_of(w), "window") == 0)
                KEYCALLBACK(w, choice & 8 ? wex::Callback(on_key) : wex::Callback(on_signal));
            return;
        }
        if (WEX_GET(wex_widget_signal, w) == 0) return;  // CALLBACK would end the program
        const wex::Callback function = choice % 4 == 0 ? nullptr
                                       : choice % 4 == 1 ? asking_for_arguments(w)
                                                         : wex::Callback(on_signal);
        if (in.byte() % 2)
            CALLBACK(w, function);
        else if (std::strcmp(kind_of(w), "edit") != 0)  // CALLBACKX refuses an edit by ending the program
            CALLBACKX(w, function, number(in));
    }

    void external() {
        Widget w = handles.own(in);
        if (!w) return;
        if (in.byte() % 2) {
            REGISTER(w, number(in), number(in), texts.text(in), handles.real(in), handles.real(in), handles.real(in),
                     handles.real(in));
        } else {
            const int kind = int(in.byte() % 6);  // 0 and 5 are no kind
            METHOD(w, kind, kind >= 1 && kind <= 4 ? EXTERNAL[kind - 1] : EXTERNAL[0]);
        }
    }

    // A file name from a text (or from a file dialog's choice), and a text shown through markup.
    void user_texts() {
        Widget w = handles.any(in);
        const char* text = in.byte() % 2 ? texts.text(in) : texts.hand_over(in, URIS[in.byte() % std::size(URIS)]);
        switch (in.byte() % 3) {
        case 0: FILENAME$(text); break;
        case 1:
            if (std::strcmp(kind_of(w), "filedialog") == 0) FILENAME$(GRAB$(w));
            break;
        default: this->text(w, ESCAPE$(text)); break;
        }
    }

    void dialog_answer() {
        Widget w = handles.any(in);
        const int response = number(in);
        if (std::strcmp(kind_of(w), "msgdialog") == 0 || std::strcmp(kind_of(w), "filedialog") == 0) answer(w, response);
    }

    void misc() {
        switch (in.byte() % 8) {
        case 0: timer_runs = 0; TIMEOUT(small(in), in.byte() % 4 ? on_timer : nullptr); break;
        case 1: KEY(); KEYSTATE(); RESETKEY(); break;
        case 2: MOUSE(number(in)); break;
        case 3: SCREENSIZE(number(in)); break;
        case 4: WEXLIB$(texts.text(in)); break;
        case 6: user_texts(); break;
        case 7: dialog_answer(); break;
        default: SYNC(); break;
        }
    }

    void step() {
        const uint8_t op = in.byte();
        if (op < 40) return handles.add(construct(Kind(op % KIND_COUNT)));
        if (op < 80) return draw();
        if (op < 120) return property();
        if (op < 140) return attach();
        if (op < 160) return look();
        if (op < 175) return WEXOPTIONS(texts.option(in));
        if (op < 190) return connect();
        if (op < 200) return external();
        return misc();
    }
};

// Each run starts from the same options, on the first canvas, with no timer.
void reset() {
    wex::wex_gui_properties.table_option = t4k_copy_tail(wex::wex_gui_properties.table_option, "");
    wex::wex_gui_properties.markup = t4k_copy_tail(wex::wex_gui_properties.markup, "");
    wex::wex_gui_properties.gl_freeze = 0;
    WEXOPTIONS("NOSCALING");
    WEXOPTIONS("CLIPBOARD 0");
    wex::WEX_XFT_SIZE_FACTOR = 1;
    WEX_WIDGET_SHOW = 1;
    WEX_CANVAS_TYPE = 0;
    DRAW(fixtures.canvases[0]);
    TIMEOUT(1, static_cast<wex::Callback>(nullptr));
}

/* GTK's warnings about what a program hands it (markup that does not parse, texts that are not
 * UTF-8) are expected here and would fill the log; criticals and errors are findings.  A
 * critical is turned into an abort here, before GLib's own fatal-criticals breakpoint (a
 * SIGTRAP, which libFuzzer would not catch), so that the input is saved. */
using LogLevel = int;
void log_message(const char* domain, LogLevel level, const char* message, void*) {
    constexpr LogLevel ERROR_OR_CRITICAL = 1 << 2 | 1 << 3;  // G_LOG_LEVEL_ERROR, G_LOG_LEVEL_CRITICAL
    if (!(level & ERROR_OR_CRITICAL)) return;
    std::fprintf(stderr, "%s-CRITICAL: %s\n", domain ? domain : "", message);
    std::abort();
}

// The libraries that log through GLib's structured writer (Pango) end up here.
int log_fields(LogLevel level, const void*, size_t, void*) {
    log_message("structured", level, "see the message above", nullptr);
    return 1;  // G_LOG_WRITER_HANDLED
}

void quiet_warnings() {
    void* glib = dlopen("libglib-2.0.so.0", RTLD_LAZY | RTLD_NOLOAD);
    using SetHandler = void* (*)(void (*)(const char*, LogLevel, const char*, void*), void*);
    using SetWriter = void (*)(int (*)(LogLevel, const void*, size_t, void*), void*, void (*)(void*));
    if (auto set = reinterpret_cast<SetHandler>(glib ? dlsym(glib, "g_log_set_default_handler") : nullptr))
        set(log_message, nullptr);
    if (auto set = reinterpret_cast<SetWriter>(glib ? dlsym(glib, "g_log_set_writer_func") : nullptr))
        set(log_fields, nullptr, nullptr);
}

void make_fixtures() {
    WEXOPTIONS("NOSCALING");
    for (int i = 0; i < 2; ++i) fixtures.windows[i] = WINDOW("fixture", 320, 240);
    WEXOPTIONS("TABLE 4 3");
    fixtures.windows[2] = WINDOW("table", 200, 150);
    reset();
    fixtures.notebook = NOTEBOOK("page", 200, 100);
    ATTACH(fixtures.windows[0], fixtures.notebook, 0, 100);
    fixtures.canvases[0] = CANVAS(200, 100);
    ATTACH(fixtures.windows[0], fixtures.canvases[0], 0, 0);
    fixtures.canvases[1] = CANVAS(70000, 20);  // left unplaced: a window 32767 wide repaints slowly
    WEXOPTIONS("CANVAS GL");  // falls back to a GTK canvas without a GL library
    fixtures.canvases[2] = CANVAS(100, 100);
    ATTACH(fixtures.windows[1], fixtures.canvases[2], 0, 30);
    SYNC();
}

/* The history: every input this process has run, in order, each behind its length (four bytes,
 * in this machine's order), after a line that names the file's kind.  Widgets live for the whole
 * process, so a finding may need the state that all earlier runs built up; each input is written
 * before it runs, in one write, so that nothing is lost however the process ends.  A clean end
 * removes the file.  Given to the fuzzer as an input, a history is replayed run by run. */
constexpr std::string_view HISTORY_HEAD = "toolkit_fuzz history\n";
std::string history_path;
int history = -1;

void remove_history() { unlink(history_path.c_str()); }

// Beside libFuzzer's own findings: in the -artifact_prefix directory, or the current one.
void open_history(int argc, char** argv) {
    constexpr std::string_view PREFIX_FLAG = "-artifact_prefix=";
    std::string prefix = "./";
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]).substr(0, PREFIX_FLAG.size()) == PREFIX_FLAG) prefix = argv[i] + PREFIX_FLAG.size();
    history_path = prefix + "toolkit_fuzz-" + std::to_string(getpid()) + ".history";
    history = open(history_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0644);
    if (history < 0 || write(history, HISTORY_HEAD.data(), HISTORY_HEAD.size()) < 0) return;
    std::atexit(remove_history);
    std::fprintf(stderr, "toolkit_fuzz: the inputs since start go to %s; replay: toolkit_fuzz %s\n",
                 history_path.c_str(), history_path.c_str());
}

void record(const uint8_t* data, size_t size) {
    const auto length = uint32_t(size);
    std::string entry(reinterpret_cast<const char*>(&length), sizeof length);
    entry.append(reinterpret_cast<const char*>(data), size);
    if (history >= 0 && write(history, entry.data(), entry.size()) < 0) history = -1;
}

void run_program(const uint8_t* data, size_t size) {
    reset();
    Run run{{data, size}, {}, {}};
    for (int steps = 0; steps < 64 && run.in.size; ++steps) run.step();
    TIMEOUT(1, static_cast<wex::Callback>(nullptr));
}

// A history's inputs run as they ran; a cut last entry runs as far as it goes.
bool replay(const uint8_t* data, size_t size) {
    if (std::string_view(reinterpret_cast<const char*>(data), size).substr(0, HISTORY_HEAD.size()) != HISTORY_HEAD)
        return false;
    fuzz::Input in{data + HISTORY_HEAD.size(), size - HISTORY_HEAD.size()};
    while (in.size >= sizeof(uint32_t)) {
        uint32_t length;
        std::memcpy(&length, in.data, sizeof length);
        in.data += sizeof length;
        in.size -= sizeof length;
        length = uint32_t(std::min<size_t>(length, in.size));
        run_program(in.data, length);
        in.data += length;
        in.size -= length;
    }
    return true;
}
}  // namespace

extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("G_DEBUG", "fatal-criticals", 1);  // read when GLib is loaded, in INIT
    if (!getenv("DISPLAY")) {
        std::fprintf(stderr, "toolkit_fuzz needs an X server: set DISPLAY\n");
        std::exit(1);
    }
    // The "FREE" sites' memory probe would put the runtime's own fault trap in place of the
    // sanitizer's; without it a bad block reaches free() and the sanitizer reports it.
    __t4k__trap = 0;
    // The toolkit's warnings go to standard output; the findings are on standard error.
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    close(null);
    INIT();
    quiet_warnings();
    make_fixtures();
    open_history(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    T4K_FUNCTION(LLVMFuzzerTestOneInput);
    if (replay(data, size)) return 0;
    record(data, size);
    run_program(data, size);
    return 0;
}
