// options.cpp: WEXOPTIONS, the ten option keywords and their warnings.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include "runtime/runtime.h"
#include "wex/bindings.h"
#include "wex/canvas.h"
#include "wex/library.h"
#include "wex/properties.h"
#include "wex/wex.h"
#include "wex/widgets.h"
#include "wex/windows.h"

namespace wex {
namespace {
void warn(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}

// Options and their tails are taken as plain texts (see TextCopy): a tail is a pointer into
// the middle of the option and must never be measured as a runtime string.
void set_text(char*& field, const char* text) { field = t4k_copy_tail(field, text); }

// A keyword's argument: the text after the first blank, or the whole option without one.
const char* argument(const char* option) {
    const char* blank = std::strchr(option, ' ');
    return blank ? blank + 1 : option;
}

double number(const char* option) { return __t4k__val(argument(option)); }

// Truncation toward zero, kept inside the int range (a huge or undefined number would make
// the plain conversion undefined).
int truncated(double value) {
    if (std::isnan(value)) return 0;
    if (value >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (value <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

bool ends_with(std::string_view text, std::string_view ending) {
    return text.size() >= ending.size() && text.substr(text.size() - ending.size()) == ending;
}

// The option is kept as given; one that names no usable shape lays out in pixels, as WINDOW,
// notebook pages and CANVAS all decide through wex_table_shape.
void option_table(const char* option) {
    set_text(wex_gui_properties.table_option, option);
    int columns = 0, rows = 0;
    if (!wex_table_shape(option, &columns, &rows))
        warn("WARNING: Invalid table layout specified! Falling back to fixed layout.");
}

// The resolutions GTK itself accepts for "gtk-xft-dpi", in dots per inch.
constexpr double MIN_DPI = 1, MAX_DPI = 1024;

// A base of zero (or no number) and an unset screen resolution ("gtk-xft-dpi" -1 or 0) have
// no meaningful ratio; the previous factor stays.  A base no screen can have (1e-300, inf)
// would scale every size to nothing or past anything GTK takes: it is refused.
void option_basexftdpi(const char* option) {
    const double base = number(option);
    if (!(base > 0)) return;
    if (!(base >= MIN_DPI && base <= MAX_DPI)) {
        warn("WARNING: Invalid base resolution specified! Keeping the previous scaling.");
        return;
    }
    WEX_DEFAULT_XFT_SIZE = base;
    gint dpi = 0;
    g_object_get(gtk_settings_get_default(), "gtk-xft-dpi", &dpi, nullptr);
    if (dpi <= 0) return;
    WEX_XFT_SIZE_FACTOR = dpi / 1024.0 / WEX_DEFAULT_XFT_SIZE;
}

void option_noscaling(const char*) { WEX_FONT_SIZE_FACTOR = 1; }
void option_scaling(const char*) { WEX_FONT_SIZE_FACTOR = wex_desktop_font_factor(); }
void option_widget_show(const char* option) { WEX_WIDGET_SHOW = truncated(number(option)); }

}  // namespace

// Sizes in points (or in pixels) that a desktop font can have.  GTK lays out some widgets by
// the font (a file chooser sizes itself by it) and refuses what a font of a thousandth of a
// point makes of them.
constexpr double MIN_FONT_SIZE = 1, MAX_FONT_SIZE = WEX_MAX_FONT_POINTS;

bool wex_usable_font(const char* name) {
    PangoFontDescription* font = pango_font_description_from_string(name);
    const bool sized = pango_font_description_get_set_fields(font) & PANGO_FONT_MASK_SIZE;
    const double size = pango_font_description_get_size(font) / double(PANGO_SCALE);
    pango_font_description_free(font);
    if (!sized || (size >= MIN_FONT_SIZE && size <= MAX_FONT_SIZE)) return true;
    warn("WARNING: Invalid font size specified! Keeping the previous font.");
    return false;
}

namespace {
// The font name goes into a quoted rc string; its own quotes and backslashes are escaped so
// that the name cannot end the string early.
void option_font(const char* option) {
    TextCopy tail(option + std::strlen("FONT"));
    const char* name = __t4k__chop(tail, nullptr, 0);
    if (!wex_usable_font(name)) return;
    std::string rc = "style \"wexstyle\" { font_name = \"";
    for (const char* c = name; *c; ++c) {
        if (*c == '"' || *c == '\\') rc += '\\';
        rc += *c;
    }
    rc += "\" }";
    gtk_rc_parse_string(rc.c_str());
    // A style parsed again under its name changes in place, so every widget bound to it follows;
    // each binding, though, is kept and searched for every widget's style ever after.
    static bool bound = false;
    if (!bound) gtk_rc_parse_string("widget \"*\" style \"wexstyle\"");
    bound = true;
    gtk_rc_reset_styles(gtk_settings_get_default());
}

void use_gtk_canvas(const char* warning) {
    if (warning) warn(warning);
    WEX_CANVAS_TYPE = 0;
}

void canvas_gl() {
    if (__t4k__strcmp(wex_gui_properties.gl_library, "NONE") == 0)
        use_gtk_canvas("WARNING: GtkGlArea/GtkGlExt library not found! Falling back to default GTK canvas.");
    else
        WEX_CANVAS_TYPE = 1;
}

// A library that INIT found incomplete is as good as absent.  Once the other GL library has
// made a canvas it stays in use: the two cannot both make canvases in one process.
void canvas_gl_library(char* (*locator)(), const char* name, const char* warning, const char* other_in_use) {
    if (std::strcmp(locator(), WEX_NOTFOUND) == 0 || !wex_gl_usable(std::strcmp(name, "GLAREA") == 0))
        return use_gtk_canvas(warning);
    const char* in_use = wex_gl_library_in_use();
    if (in_use && std::strcmp(in_use, name) != 0) {
        warn(other_in_use);
        WEX_CANVAS_TYPE = 1;
        return;
    }
    set_text(wex_gui_properties.gl_library, name);
    WEX_CANVAS_TYPE = 1;
}

void canvas_glarea() {
    canvas_gl_library(wex_Get_GtkGlArea$, "GLAREA",
                      "WARNING: GtkGlArea library specified but not found on system! Falling back to default GTK canvas.",
                      "WARNING: GtkGlArea library specified but GtkGlExt is in use! Keeping GtkGlExt.");
}

void canvas_glext() {
    canvas_gl_library(wex_Get_GtkGlExt$, "GLEXT",
                      "WARNING: GtkGlExt library specified but not found on system! Falling back to default GTK canvas.",
                      "WARNING: GtkGlExt library specified but GtkGlArea is in use! Keeping GtkGlArea.");
}

void canvas_gtk() { use_gtk_canvas(nullptr); }

void canvas_goo() {
    if (__t4k__strcmp(wex_Goocanvas$, WEX_NOTFOUND) == 0)
        use_gtk_canvas("WARNING: GooCanvas library not found! Falling back to default GTK canvas.");
    else
        WEX_CANVAS_TYPE = 2;
}

// The option's last characters name the library; the endings are tried in this order.
void option_canvas(const char* option) {
    struct Ending {
        std::string_view ending;
        void (*choose)();
    };
    static constexpr Ending endings[] = {
        {"GL", canvas_gl}, {"GLAREA", canvas_glarea}, {"GLEXT", canvas_glext},
        {"GTK", canvas_gtk}, {"GOO", canvas_goo},
    };
    for (const Ending& entry : endings)
        if (ends_with(option, entry.ending)) return entry.choose();
    use_gtk_canvas("WARNING: Invalid canvas library specified! Falling back to default GTK canvas.");
}

void option_gl_freeze(const char* option) { wex_gui_properties.gl_freeze = truncated(number(option)); }

void option_clipboard(const char* option) {
    static constexpr const char* selections[] = {"CLIPBOARD", "PRIMARY", "SECONDARY"};
    const double choice = number(option);
    for (int i = 0; i < static_cast<int>(std::size(selections)); ++i)
        if (choice == i) return set_text(wex_gui_properties.clipboard, selections[i]);
    warn("WARNING: Invalid clipboard specified! Falling back to default clipboard.");
    set_text(wex_gui_properties.clipboard, selections[0]);
}

void option_markup(const char* option) { set_text(wex_gui_properties.markup, argument(option)); }

// Matched by their leading characters, case-sensitively, first match deciding: "NOSCALING"
// must come before "SCALING" would be tried.
struct Keyword {
    std::string_view word;
    void (*apply)(const char* option);
};
constexpr Keyword keywords[] = {
    {"TABLE", option_table},         {"BASEXFTDPI", option_basexftdpi}, {"NOSCALING", option_noscaling},
    {"SCALING", option_scaling},     {"WIDGET_SHOW", option_widget_show}, {"FONT", option_font},
    {"CANVAS", option_canvas},       {"GL_FREEZE", option_gl_freeze},   {"CLIPBOARD", option_clipboard},
    {"MARKUP", option_markup},
};
}  // namespace

void WEXOPTIONS(const char* option) {
    T4K_FUNCTION(WEXOPTIONS);
    TextCopy copy(option);
    const std::string_view text = static_cast<char*>(copy);
    for (const Keyword& keyword : keywords)
        if (text.starts_with(keyword.word)) return keyword.apply(copy);
    std::printf("WEXOPTION '%s' not recognized!\n", static_cast<char*>(copy));
    std::fflush(stdout);
}
}  // namespace wex
