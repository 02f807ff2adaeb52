// bound_names_test.cpp: the names the toolkit binds, group by group and in binding order, held
// against lists written out here on their own, so that a name dropped, renamed or moved to another
// group in wex/bindings.h fails.  The project may bind more than these; each such name must be in
// the short list of additions below, with the reason it is bound.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "wex/bindings.h"

namespace {
using Names = std::vector<std::string>;
#define WEX_NAME(name) #name,
#define WEX_NAMES(list) Names{list(WEX_NAME)}
#define WEX_PROBE_NAME(id, locator, probe, ...) #probe,
Names probe_names() { return {WEX_LIBRARIES(WEX_PROBE_NAME)}; }

// Bound beyond the lists below: group, name, and why.
struct Addition {
    const char* group;
    const char* name;
    const char* reason;
};
const Addition ADDITIONS[] = {
    {"GooCanvas", "goo_canvas_render", "GETCOLOR$ on a GooCanvas renders the canvas at that pixel"},
    {"GooCanvas", "gdk_cairo_create", "GETCOLOR$ on a GooCanvas: a cairo context on a one-pixel pixmap"},
    {"GooCanvas", "cairo_translate", "GETCOLOR$ on a GooCanvas: the pixel moved to the pixmap's origin"},
    {"GooCanvas", "cairo_destroy", "GETCOLOR$ on a GooCanvas: the cairo context released"},
    {"GTK", "gtk_dialog_add_buttons", "MSGDIALOG's Yes, No and Cancel, a set GTK does not have"},
    {"GTK", "gtk_range_set_inverted", "INVERT: a slider used as a gauge reads full at the top"},
    {"GTK", "gtk_range_set_range", "RANGE: a gauge's top follows a value beyond its first range"},
    {"GTK", "gtk_fixed_get_type", "ATTACH places by the container it finds, a fixed one or a table"},
    {"GTK", "gtk_label_get_type", "TEXT and GRAB$ on a button touch its child only when it is a label"},
    {"GTK", "gtk_table_get_type", "ATTACH places by the container it finds, a fixed one or a table"},
    {"GTK", "gtk_widget_get_type", "calls on a handle act only when the registered object is a widget"},
    {"GTK", "gtk_widget_get_accessible", "DESCRIBE names a widget to the accessibility layer"},
    {"GTK", "gtk_window_set_geometry_hints", "windows stop at X's largest coordinate"},
    {"GDK", "gdk_error_trap_pop", "an X error is reported as a warning, not the end of the program"},
    {"GDK", "gdk_error_trap_push", "an X error is reported as a warning, not the end of the program"},
    {"GObject", "g_object_class_find_property", "MARKUP items are set by their property's type"},
    {"GObject", "g_type_check_instance_is_a", "a handle's object is checked before a call that needs a widget"},
    {"GObject", "g_type_fundamental", "MARKUP items are set by their property's type"},
    {"GObject", "g_closure_new_simple", "a signal of any shape runs the program's function with its arguments"},
    {"GObject", "g_closure_add_finalize_notifier", "a program function's connection is freed with its closure"},
    {"GObject", "g_closure_set_marshal", "a signal of any shape runs the program's function with its arguments"},
    {"GObject", "g_closure_sink", "a closure that no signal took is freed"},
    {"GObject", "g_signal_connect_closure", "a signal of any shape runs the program's function with its arguments"},
    {"GObject", "g_value_peek_pointer", "a signal's object and its pointer arguments for the program's function"},
    {"GObject", "g_value_set_boolean", "a signal's result: the program function's answer"},
    {"GObject", "g_signal_lookup", "CALLBACK refuses a function that does not take the signal's arguments"},
    {"GObject", "g_signal_query", "CALLBACK refuses a function that does not take the signal's arguments"},
    {"GLib", "g_utf8_validate", "TEXT on an edit shows bytes that are not UTF-8 as U+FFFD"},
    {"Pango", "pango_font_description_get_set_fields", "FONT refuses a font without a usable size"},
    {"Pango", "pango_layout_get_pixel_size", "OUT text that misses the canvas is not drawn"},
    {"GTK", "gtk_container_get_children", "FIT finds the label inside a button"},
    {"GTK", "gtk_container_get_type", "FIT looks for a button's label only inside containers"},
    {"GTK", "gtk_label_get_layout", "FIT measures a label's text as the label lays it out"},
    {"GLib", "g_list_free", "FIT: the list of a container's children released"},
    {"Pango", "pango_layout_get_pixel_extents", "FIT: a glyph may reach past the text's logical size"},
    {"Pango", "pango_layout_copy", "FIT measures a label's text at a smaller size on a copy of its layout"},
    {"Pango", "pango_layout_get_attributes", "FIT: the copy keeps the label's own attributes"},
    {"Pango", "pango_layout_set_attributes", "FIT: the copy laid out at the size tried"},
    {"Pango", "pango_attr_list_new", "FIT: a label's text shown at a smaller size"},
    {"Pango", "pango_attr_list_copy", "FIT: the label's own attributes, with the size tried added"},
    {"Pango", "pango_attr_list_insert", "FIT: the size tried added to the attributes"},
    {"Pango", "pango_attr_list_unref", "FIT: the attributes released"},
    {"Pango", "pango_attr_scale_new", "FIT: a label's text scaled down from its font's size"},
    {"GtkGLArea", "gtk_gl_area_get_type", "a GL canvas keeps the library it was made with"},
};

struct Group {
    const char* name;
    Names bound;     // what wex/bindings.h binds, in order
    Names expected;  // the group's functions, in binding order
};
const std::vector<Group>& groups() {
    static const std::vector<Group> list = {
    {"GTK", WEX_NAMES(WEX_GTK_FUNCTIONS),
     {
         "gtk_bin_get_child", "gtk_button_new_from_stock", "gtk_button_new_with_mnemonic",
         "gtk_cell_renderer_text_new", "gtk_check_button_new_with_label", "gtk_clipboard_get",
         "gtk_clipboard_set_text", "gtk_clipboard_wait_for_text", "gtk_combo_box_append_text",
         "gtk_combo_box_get_active", "gtk_combo_box_get_active_text", "gtk_combo_box_new_text",
         "gtk_combo_box_remove_text", "gtk_combo_box_set_active", "gtk_container_add",
         "gtk_drawing_area_new", "gtk_entry_get_text", "gtk_entry_get_visibility", "gtk_entry_new",
         "gtk_entry_set_text", "gtk_entry_set_visibility", "gtk_event_box_new", "gtk_events_pending",
         "gtk_file_chooser_dialog_new", "gtk_file_chooser_set_filename",
         "gtk_file_chooser_set_select_multiple", "gtk_file_chooser_get_uris", "gtk_fixed_new",
         "gtk_fixed_put", "gtk_frame_get_label", "gtk_frame_get_label_widget", "gtk_frame_new",
         "gtk_frame_set_label", "gtk_hscale_new_with_range", "gtk_hseparator_new", "gtk_image_new",
         "gtk_image_new_from_file", "gtk_image_set_from_pixmap", "gtk_image_set_from_file",
         "gtk_label_get_text", "gtk_label_new", "gtk_label_get_selectable", "gtk_label_set_markup",
         "gtk_label_set_selectable", "gtk_label_set_text", "gtk_list_store_append",
         "gtk_list_store_clear", "gtk_list_store_new", "gtk_list_store_set", "gtk_main",
         "gtk_main_iteration_do", "gtk_message_dialog_new_with_markup", "gtk_misc_set_alignment",
         "gtk_notebook_append_page", "gtk_notebook_get_tab_label_text",
         "gtk_notebook_get_current_page", "gtk_notebook_new", "gtk_notebook_set_current_page",
         "gtk_progress_bar_get_fraction", "gtk_progress_bar_get_text", "gtk_progress_bar_new",
         "gtk_progress_bar_set_fraction", "gtk_progress_bar_set_text",
         "gtk_radio_button_new_with_label_from_widget", "gtk_range_get_value", "gtk_range_set_value",
         "gtk_rc_parse_string", "gtk_rc_reset_styles", "gtk_scrolled_window_new",
         "gtk_scrolled_window_set_policy", "gtk_scrolled_window_set_shadow_type",
         "gtk_settings_get_default", "gtk_spin_button_get_value_as_int",
         "gtk_spin_button_new_with_range", "gtk_spin_button_set_value", "gtk_table_new",
         "gtk_table_attach_defaults", "gtk_text_buffer_apply_tag", "gtk_text_buffer_create_mark",
         "gtk_text_buffer_delete_mark", "gtk_text_buffer_get_end_iter",
         "gtk_text_buffer_get_iter_at_line", "gtk_text_buffer_get_iter_at_mark",
         "gtk_text_buffer_get_line_count", "gtk_text_buffer_get_start_iter",
         "gtk_text_buffer_get_tag_table", "gtk_text_buffer_get_text",
         "gtk_text_buffer_insert_with_tags", "gtk_text_buffer_new", "gtk_text_buffer_set_text",
         "gtk_text_tag_new", "gtk_text_tag_table_add", "gtk_text_view_new_with_buffer",
         "gtk_text_view_scroll_to_mark", "gtk_text_view_set_editable", "gtk_text_view_set_wrap_mode",
         "gtk_toggle_button_get_active", "gtk_toggle_button_new_with_mnemonic",
         "gtk_toggle_button_set_active", "gtk_tree_model_get", "gtk_tree_model_get_string_from_iter",
         "gtk_tree_path_free", "gtk_tree_path_new_from_string", "gtk_tree_selection_get_selected",
         "gtk_tree_selection_select_path", "gtk_tree_selection_set_mode",
         "gtk_tree_view_append_column", "gtk_tree_view_column_new_with_attributes",
         "gtk_tree_view_get_selection", "gtk_tree_view_new_with_model",
         "gtk_tree_view_set_headers_visible", "gtk_vscale_new_with_range", "gtk_vseparator_new",
         "gtk_widget_create_pango_layout", "gtk_widget_grab_focus", "gtk_widget_hide",
         "gtk_widget_hide_on_delete", "gtk_widget_modify_font", "gtk_widget_queue_draw",
         "gtk_widget_realize", "gtk_widget_set_events", "gtk_widget_set_sensitive",
         "gtk_widget_set_size_request", "gtk_widget_show_all", "gtk_widget_show",
         "gtk_window_fullscreen", "gtk_window_unfullscreen", "gtk_window_get_title",
         "gtk_window_move", "gtk_window_new", "gtk_window_set_position", "gtk_window_set_resizable",
         "gtk_window_set_title"}},
    {"GDK", WEX_NAMES(WEX_GDK_FUNCTIONS),
     {
         "gdk_color_copy", "gdk_color_free", "gdk_color_parse", "gdk_colormap_get_system",
         "gdk_draw_arc", "gdk_draw_layout_with_colors", "gdk_draw_line", "gdk_draw_pixbuf",
         "gdk_draw_point", "gdk_draw_rectangle", "gdk_gc_new", "gdk_gc_set_rgb_bg_color",
         "gdk_gc_set_rgb_fg_color", "gdk_get_default_root_window", "gdk_pixbuf_get_from_drawable",
         "gdk_pixbuf_get_n_channels", "gdk_pixbuf_get_pixels", "gdk_pixbuf_get_rowstride",
         "gdk_pixmap_new", "gdk_screen_get_default", "gdk_screen_get_width", "gdk_screen_height",
         "gdk_window_at_pointer", "gdk_window_get_pointer"}},
    {"GObject", WEX_NAMES(WEX_GOBJECT_FUNCTIONS),
     {
         "g_object_get", "g_object_set", "g_signal_connect_data"}},
    {"GLib", WEX_NAMES(WEX_GLIB_FUNCTIONS),
     {
         "g_slist_free", "g_malloc", "g_free", "g_slist_nth_data", "g_source_remove"}},
    {"Pango", WEX_NAMES(WEX_PANGO_FUNCTIONS),
     {
         "pango_font_description_free", "pango_font_description_get_size", "pango_layout_set_markup"}},
    {"GtkGLArea", WEX_NAMES(WEX_GLAREA_FUNCTIONS),
     {
         "gtk_gl_area_make_current", "gtk_gl_area_swap_buffers"}},
    {"GtkGLExt", WEX_NAMES(WEX_GLEXT_FUNCTIONS),
     {
         "gtk_widget_set_gl_capability", "gtk_widget_get_gl_context", "gtk_widget_get_gl_window",
         "gdk_gl_config_new_by_mode", "gdk_gl_drawable_gl_begin", "gdk_gl_drawable_gl_end",
         "gdk_gl_drawable_swap_buffers"}},
    {"GooCanvas", WEX_NAMES(WEX_GOO_FUNCTIONS),
     {
         "goo_canvas_get_root_item", "goo_canvas_set_bounds", "goo_canvas_ellipse_new",
         "goo_canvas_rect_new", "goo_canvas_polyline_new_line", "goo_canvas_text_new",
         "goo_canvas_image_new", "goo_canvas_item_get_bounds", "goo_canvas_item_translate",
         "goo_canvas_item_raise"}},
    {"OpenGL", WEX_NAMES(WEX_GL_FUNCTIONS),
     {
         "glClear", "glClearColor", "glColor3ub", "glBitmap", "glEnd", "glLoadIdentity",
         "glMatrixMode", "glOrtho", "glRasterPos2i", "glTranslatef", "glVertex2i", "glReadPixels"}},
    };
    return list;
}

bool added(const std::string& group, const std::string& name) {
    return std::any_of(std::begin(ADDITIONS), std::end(ADDITIONS),
                       [&](const Addition& a) { return group == a.group && name == a.name; });
}

// The first place where two lists part, for a message that names it.
std::string first_difference(const Names& bound, const Names& expected) {
    for (size_t i = 0; i < std::max(bound.size(), expected.size()); ++i) {
        const std::string b = i < bound.size() ? bound[i] : "(nothing)";
        const std::string e = i < expected.size() ? expected[i] : "(nothing)";
        if (b != e) return "at " + std::to_string(i) + ": bound " + b + ", expected " + e;
    }
    return "";
}

TEST(BoundNames, TheListsHereHoldTheFullSet) {
    size_t total = 0;
    for (const Group& g : groups()) total += g.expected.size();
    EXPECT_EQ(total, 199u);
    EXPECT_EQ(groups().size(), 9u);
    size_t bound = 0;  // the count README gives
    for (const Group& g : groups()) bound += g.bound.size();
    EXPECT_EQ(bound, 243u);
    EXPECT_EQ(bound - total, std::size(ADDITIONS));
}

TEST(BoundNames, EachGroupBindsItsFunctionsInOrder) {
    for (const Group& g : groups()) {
        Names specified;
        for (const std::string& name : g.bound)
            if (!added(g.name, name)) specified.push_back(name);
        EXPECT_EQ(first_difference(specified, g.expected), "") << g.name;
    }
}

TEST(BoundNames, EveryAdditionIsBoundInItsGroupAndNoNameTwice) {
    for (const Addition& a : ADDITIONS) {
        const auto group = std::find_if(groups().begin(), groups().end(), [&](const Group& g) { return g.name == std::string(a.group); });
        ASSERT_NE(group, groups().end()) << a.group;
        EXPECT_NE(std::find(group->bound.begin(), group->bound.end(), a.name), group->bound.end()) << a.name;
    }
    std::set<std::string> seen;
    for (const std::string& probe : probe_names()) EXPECT_TRUE(seen.insert(probe).second) << probe;
    for (const Group& g : groups())
        for (const std::string& name : g.bound) EXPECT_TRUE(seen.insert(name).second) << name;
}

// One probe per locator, in the locators' order.
TEST(BoundNames, TheTenProbes) {
    const Names probes = {"gtk_init", "gdk_atom_intern", "gdk_pixbuf_new_from_file", "g_timeout_add",
                          "g_object_unref", "pango_font_description_from_string", "gtk_gl_area_new",
                          "gtk_gl_init", "goo_canvas_new", "glBegin"};
    EXPECT_EQ(first_difference(probe_names(), probes), "");
}
}  // namespace
