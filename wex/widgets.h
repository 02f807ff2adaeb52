// widgets.h (internal): what the constructors of every kind of widget share, with each other and
// with the property calls.
#pragma once
#include <string>
#include <string_view>
#include "runtime/runtime.h"
#include "wex/bindings.h"
#include "wex/wex.h"

namespace wex {
// Registry entries a kind writes besides its kind name and signal code.
enum Entry : unsigned {
    XSIZE = 1u << 0,
    YSIZE = 1u << 1,
    S_WIDGET = 1u << 2,
    ATTACH_TO = 1u << 3,
    FONT_OF = 1u << 4,
    FOCUS_ON = 1u << 5,
    BUFFER = 1u << 6,
};
constexpr unsigned SIZES = XSIZE | YSIZE;
constexpr unsigned BUTTON_LIKE = SIZES | S_WIDGET | ATTACH_TO | FONT_OF | FOCUS_ON;

enum class Show { widget, all, never };

// What every widget of one kind leaves in the registry, and how its constructor shows it.
struct Profile {
    const char* kind;
    int signal;  // 0: no signal entry, so CALLBACK refuses the widget
    unsigned entries;
    Show show;
};

// The objects a new widget's entries point at; each role is the widget itself unless the
// kind names an inner object for it.
struct Parts {
    void* self;
    void* s_widget = self;
    void* attach = self;
    void* font = self;
    void* focus = self;
    void* buffer = nullptr;
};

// The end of every constructor: show the widget, write its kind's entries, make it WIDGET.
Widget wex_enrol(const Profile& profile, const Parts& parts, int xsize, int ysize);

// "changed" handler of an edit's text buffer: gives the new text the buffer's tag.
void wex_apply_tag(gpointer text_buffer, gpointer);

// Whether `object` is a GTK object of the type that `get_type` names; false for null.  Calls
// check with it where GTK would refuse an object of another type with a critical.
inline bool wex_is_a(const void* object, GType (*get_type)()) {
    return object != nullptr &&
           g_type_check_instance_is_a(static_cast<GTypeInstance*>(const_cast<void*>(object)), get_type());
}

// The text with each byte that is no part of a UTF-8 character replaced by U+FFFD, as GTK takes
// only UTF-8 (a text buffer refuses the rest, markup fails on it).
std::string wex_as_utf8(const char* text);

// Whether a file dialog's last answer was other than its accepting button (Cancel, Escape,
// closing it) since it was last shown: GRAB$ then reads no files.
bool wex_file_dialog_declined(const void* dialog);

// Sizes a toplevel window (a WINDOW or a dialog) as the program asked, scaled, and keeps it
// within WEX_MAX_WINDOW_PIXELS a side, however large its widgets would make it.
void wex_size_toplevel(GtkWidget* window, int xsize, int ysize);

// A call's own runtime-string copy of a text argument, released when the call returns.  The
// argument may be any pointer a program holds (a literal, a runtime string, a plain copy, a
// pointer into the middle of either), so it is measured as a plain text; a null text is "".
class TextCopy {
public:
    explicit TextCopy(const char* text) : text_(t4k_copy_tail(nullptr, text ? text : "")) {}
    ~TextCopy() { __t4k__free(text_); }
    TextCopy(const TextCopy&) = delete;
    TextCopy& operator=(const TextCopy&) = delete;
    operator char*() const { return text_; }
private:
    char* text_;
};

// Calls `word` with each piece of `text` between `delimiter`s.  A delimiter inside a
// double-quoted stretch does not split; a backslash keeps the quote after it from opening or
// closing a stretch.  Empty pieces between adjacent delimiters are pieces too.
template <class F> void for_each_word(std::string_view text, char delimiter, F&& word) {
    bool quoted = false;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '"') {
            ++i;
        } else if (text[i] == '"') {
            quoted = !quoted;
        } else if (text[i] == delimiter && !quoted) {
            word(text.substr(start, i - start));
            start = i + 1;
        }
    }
    word(text.substr(start));
}
}  // namespace wex
