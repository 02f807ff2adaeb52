// markup_option.cpp: the "MARKUP" attribute list, read onto the tag of every text an edit receives.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <utility>
#include "wex/properties.h"
#include "wex/registry.h"
#include "wex/widgets.h"

namespace wex {
namespace {
/* The "MARKUP" values arrive as texts; each is read as its property's own type.  GLib takes
 * the value of a property by its type, so a text handed to a number property is read as a
 * number made of the pointer's bits, and one handed to a font description or a tab array is
 * taken for a pointer to such a record. */
std::optional<double> read_number(const char* text) {
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<gboolean> read_boolean(const char* text) {
    static constexpr std::pair<const char*, gboolean> WORDS[] = {
        {"true", TRUE}, {"false", FALSE}, {"yes", TRUE}, {"no", FALSE}, {"on", TRUE}, {"off", FALSE},
        {"1", TRUE},    {"0", FALSE},
    };
    for (const auto& [word, value] : WORDS)
        if (__t4k__strcasecmp(text, word) == 0) return value;
    return std::nullopt;
}

// An enumeration's value by its name ("PANGO_STYLE_ITALIC"), nick ("italic") or number.
std::optional<gint> read_enum(const GEnumClass* values, const char* text) {
    const std::optional<double> number = read_number(text);
    for (guint i = 0; i < values->n_values; ++i) {
        const GEnumValue& v = values->values[i];
        if (__t4k__strcasecmp(text, v.value_name) == 0 || __t4k__strcasecmp(text, v.value_nick) == 0 ||
            (number && *number == v.value))
            return v.value;
    }
    return std::nullopt;
}

/* A number is kept within its property's range and, as a text tag's numbers are font sizes,
 * scales and distances, within the largest font size (in points, or in Pango units for the
 * int properties): GTK turns them into ints of Pango units, which larger ones overflow. */
constexpr double LARGEST_DOUBLE = WEX_MAX_FONT_POINTS, LARGEST_INT = WEX_MAX_FONT_POINTS * PANGO_SCALE;
template <class Spec> auto within(const Spec* range, double value, double largest) {
    const double low = std::max(double(range->minimum), -largest), high = std::min(double(range->maximum), largest);
    return decltype(range->minimum)(std::clamp(value, low, high));
}

// The tag's property `name` gets `value` when the property is a text, a number (kept within its
// range), a boolean or an enumeration and the value reads as one; otherwise the tag is left alone.
void set_as_its_type(GtkTextTag* tag, const char* name, const char* value) {
    GParamSpec* property = g_object_class_find_property(G_OBJECT_GET_CLASS(tag), name);
    if (!property || !(property->flags & G_PARAM_WRITABLE) || (property->flags & G_PARAM_CONSTRUCT_ONLY)) return;
    const std::optional<double> number = read_number(value);
    switch (g_type_fundamental(property->value_type)) {
    case G_TYPE_STRING:
        g_object_set(tag, name, value, nullptr);
        break;
    case G_TYPE_BOOLEAN:
        if (const auto b = read_boolean(value)) g_object_set(tag, name, *b, nullptr);
        break;
    case G_TYPE_INT:
        if (number) g_object_set(tag, name, within(G_PARAM_SPEC_INT(property), *number, LARGEST_INT), nullptr);
        break;
    case G_TYPE_UINT:
        if (number) g_object_set(tag, name, within(G_PARAM_SPEC_UINT(property), *number, LARGEST_INT), nullptr);
        break;
    case G_TYPE_DOUBLE:
        if (number) g_object_set(tag, name, within(G_PARAM_SPEC_DOUBLE(property), *number, LARGEST_DOUBLE), nullptr);
        break;
    case G_TYPE_ENUM:
        if (const auto v = read_enum(G_PARAM_SPEC_ENUM(property)->enum_class, value)) g_object_set(tag, name, *v, nullptr);
        break;
    default:
        break;
    }
}

// One markup item, "name: value"; an item without a colon names the property and is its own value.
void set_tag_property(GtkTextTag* tag, std::string_view item) {
    char* trimmed = __t4k__chop(t4k_temporary_copy(item.data(), item.size()), nullptr, 0);
    int colon = __t4k__instr(NO_LINE, WEX_UNIT, trimmed, ":", 1);
    char* name = __t4k__chop(__t4k__left(NO_LINE, WEX_UNIT, trimmed, unsigned(colon - 1)), nullptr, 0);
    char* value = __t4k__chop(__t4k__mid(NO_LINE, WEX_UNIT, trimmed, colon + 1, -1), nullptr, 0);
    set_as_its_type(tag, name, value);
}
}  // namespace

// Runs after every change of an edit's buffer: tags the text from the end mark to the end
// with the buffer's tag (first giving the tag the "MARKUP" attributes), then moves the mark to
// the new end so that the next change starts there.
void wex_apply_tag(gpointer text_buffer, gpointer) {
    T4K_FUNCTION(wex_apply_tag);
    auto* buffer = static_cast<GtkTextBuffer*>(text_buffer);
    GtkTextTag* tag = WEX_GET_HANDLE(GtkTextTag, wex_widget_attach, buffer);
    const char* markup = wex_gui_properties.markup;
    if (markup != nullptr && *markup != '\0')
        for_each_word(markup, ',', [&](std::string_view item) { set_tag_property(tag, item); });

    // Declared `to` first so that the `from` iterator's site is released first.
    t4k::Scratch to(APPLY_TAG_TO_LINE, WEX_UNIT);
    t4k::Scratch from(APPLY_TAG_FROM_LINE, WEX_UNIT);
    GtkTextMark* mark = WEX_GET_HANDLE(GtkTextMark, wex_widget_buffer, buffer);
    gtk_text_buffer_get_iter_at_mark(buffer, from.as<GtkTextIter>(), mark);
    gtk_text_buffer_get_end_iter(buffer, to.as<GtkTextIter>());
    gtk_text_buffer_apply_tag(buffer, tag, from.as<GtkTextIter>(), to.as<GtkTextIter>());
    gtk_text_buffer_delete_mark(buffer, mark);
    gtk_text_buffer_get_end_iter(buffer, to.as<GtkTextIter>());
    WEX_PUT_HANDLE(wex_widget_buffer, buffer, gtk_text_buffer_create_mark(buffer, nullptr, to.as<GtkTextIter>(), TRUE));
}
}  // namespace wex
