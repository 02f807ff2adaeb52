// bindings.h (internal): the GUI library functions the toolkit calls, each a pointer bound by
// name at start-up.  The only place that includes GTK headers; toolkit code lives in namespace
// wex, so an unqualified gtk_window_new(...) finds the bound pointer, not GTK's declaration.
#pragma once
#define G_DISABLE_CAST_CHECKS 1  // GTK_WINDOW(w) and the like become plain casts: no *_get_type() call
#include <gtk/gtk.h>
#include "goocanvas.h"
#include "opengl.h"
#include "wex/libraries.h"

// The functions of each library's group (wex/libraries.h); list order is binding order.
#define WEX_GTK_FUNCTIONS(X) \
    X(gtk_bin_get_child) \
    X(gtk_button_new_from_stock) \
    X(gtk_button_new_with_mnemonic) \
    X(gtk_cell_renderer_text_new) \
    X(gtk_check_button_new_with_label) \
    X(gtk_clipboard_get) \
    X(gtk_clipboard_set_text) \
    X(gtk_clipboard_wait_for_text) \
    X(gtk_combo_box_append_text) \
    X(gtk_combo_box_get_active) \
    X(gtk_combo_box_get_active_text) \
    X(gtk_combo_box_new_text) \
    X(gtk_combo_box_remove_text) \
    X(gtk_combo_box_set_active) \
    X(gtk_container_add) \
    X(gtk_container_get_children) \
    X(gtk_container_get_type) \
    X(gtk_dialog_add_buttons) \
    X(gtk_drawing_area_new) \
    X(gtk_entry_get_text) \
    X(gtk_entry_get_visibility) \
    X(gtk_entry_new) \
    X(gtk_entry_set_text) \
    X(gtk_entry_set_visibility) \
    X(gtk_event_box_new) \
    X(gtk_events_pending) \
    X(gtk_file_chooser_dialog_new) \
    X(gtk_file_chooser_set_filename) \
    X(gtk_file_chooser_set_select_multiple) \
    X(gtk_file_chooser_get_uris) \
    X(gtk_fixed_new) \
    X(gtk_fixed_get_type) \
    X(gtk_fixed_put) \
    X(gtk_frame_get_label) \
    X(gtk_frame_get_label_widget) \
    X(gtk_frame_new) \
    X(gtk_frame_set_label) \
    X(gtk_hscale_new_with_range) \
    X(gtk_hseparator_new) \
    X(gtk_image_new) \
    X(gtk_image_new_from_file) \
    X(gtk_image_set_from_pixmap) \
    X(gtk_image_set_from_file) \
    X(gtk_label_get_layout) \
    X(gtk_label_get_text) \
    X(gtk_label_new) \
    X(gtk_label_get_type) \
    X(gtk_label_get_selectable) \
    X(gtk_label_set_markup) \
    X(gtk_label_set_selectable) \
    X(gtk_label_set_text) \
    X(gtk_list_store_append) \
    X(gtk_list_store_clear) \
    X(gtk_list_store_new) \
    X(gtk_list_store_set) \
    X(gtk_main) \
    X(gtk_main_iteration_do) \
    X(gtk_message_dialog_new_with_markup) \
    X(gtk_misc_set_alignment) \
    X(gtk_notebook_append_page) \
    X(gtk_notebook_get_tab_label_text) \
    X(gtk_notebook_get_current_page) \
    X(gtk_notebook_new) \
    X(gtk_notebook_set_current_page) \
    X(gtk_progress_bar_get_fraction) \
    X(gtk_progress_bar_get_text) \
    X(gtk_progress_bar_new) \
    X(gtk_progress_bar_set_fraction) \
    X(gtk_progress_bar_set_text) \
    X(gtk_radio_button_new_with_label_from_widget) \
    X(gtk_range_get_value) \
    X(gtk_range_set_inverted) \
    X(gtk_range_set_range) \
    X(gtk_range_set_value) \
    X(gtk_rc_parse_string) \
    X(gtk_rc_reset_styles) \
    X(gtk_scrolled_window_new) \
    X(gtk_scrolled_window_set_policy) \
    X(gtk_scrolled_window_set_shadow_type) \
    X(gtk_settings_get_default) \
    X(gtk_spin_button_get_value_as_int) \
    X(gtk_spin_button_new_with_range) \
    X(gtk_spin_button_set_value) \
    X(gtk_table_new) \
    X(gtk_table_get_type) \
    X(gtk_table_attach_defaults) \
    X(gtk_text_buffer_apply_tag) \
    X(gtk_text_buffer_create_mark) \
    X(gtk_text_buffer_delete_mark) \
    X(gtk_text_buffer_get_end_iter) \
    X(gtk_text_buffer_get_iter_at_line) \
    X(gtk_text_buffer_get_iter_at_mark) \
    X(gtk_text_buffer_get_line_count) \
    X(gtk_text_buffer_get_start_iter) \
    X(gtk_text_buffer_get_tag_table) \
    X(gtk_text_buffer_get_text) \
    X(gtk_text_buffer_insert_with_tags) \
    X(gtk_text_buffer_new) \
    X(gtk_text_buffer_set_text) \
    X(gtk_text_tag_new) \
    X(gtk_text_tag_table_add) \
    X(gtk_text_view_new_with_buffer) \
    X(gtk_text_view_scroll_to_mark) \
    X(gtk_text_view_set_editable) \
    X(gtk_text_view_set_wrap_mode) \
    X(gtk_toggle_button_get_active) \
    X(gtk_toggle_button_new_with_mnemonic) \
    X(gtk_toggle_button_set_active) \
    X(gtk_tree_model_get) \
    X(gtk_tree_model_get_string_from_iter) \
    X(gtk_tree_path_free) \
    X(gtk_tree_path_new_from_string) \
    X(gtk_tree_selection_get_selected) \
    X(gtk_tree_selection_select_path) \
    X(gtk_tree_selection_set_mode) \
    X(gtk_tree_view_append_column) \
    X(gtk_tree_view_column_new_with_attributes) \
    X(gtk_tree_view_get_selection) \
    X(gtk_tree_view_new_with_model) \
    X(gtk_tree_view_set_headers_visible) \
    X(gtk_vscale_new_with_range) \
    X(gtk_vseparator_new) \
    X(gtk_widget_create_pango_layout) \
    X(gtk_widget_get_accessible) \
    X(gtk_widget_grab_focus) \
    X(gtk_widget_hide) \
    X(gtk_widget_hide_on_delete) \
    X(gtk_widget_modify_font) \
    X(gtk_widget_queue_draw) \
    X(gtk_widget_realize) \
    X(gtk_widget_set_events) \
    X(gtk_widget_set_sensitive) \
    X(gtk_widget_set_size_request) \
    X(gtk_widget_show_all) \
    X(gtk_widget_show) \
    X(gtk_widget_get_type) \
    X(gtk_window_fullscreen) \
    X(gtk_window_unfullscreen) \
    X(gtk_window_get_title) \
    X(gtk_window_move) \
    X(gtk_window_new) \
    X(gtk_window_set_position) \
    X(gtk_window_set_geometry_hints) \
    X(gtk_window_set_resizable) \
    X(gtk_window_set_title)

#define WEX_GDK_FUNCTIONS(X) \
    X(gdk_color_copy) \
    X(gdk_color_free) \
    X(gdk_color_parse) \
    X(gdk_error_trap_pop) \
    X(gdk_error_trap_push) \
    X(gdk_colormap_get_system) \
    X(gdk_draw_arc) \
    X(gdk_draw_layout_with_colors) \
    X(gdk_draw_line) \
    X(gdk_draw_pixbuf) \
    X(gdk_draw_point) \
    X(gdk_draw_rectangle) \
    X(gdk_gc_new) \
    X(gdk_gc_set_rgb_bg_color) \
    X(gdk_gc_set_rgb_fg_color) \
    X(gdk_get_default_root_window) \
    X(gdk_pixbuf_get_from_drawable) \
    X(gdk_pixbuf_get_n_channels) \
    X(gdk_pixbuf_get_pixels) \
    X(gdk_pixbuf_get_rowstride) \
    X(gdk_pixmap_new) \
    X(gdk_screen_get_default) \
    X(gdk_screen_get_width) \
    X(gdk_screen_height) \
    X(gdk_window_at_pointer) \
    X(gdk_window_get_pointer)

#define WEX_GOBJECT_FUNCTIONS(X) \
    X(g_object_get) \
    X(g_object_set) \
    X(g_signal_connect_data) \
    X(g_object_class_find_property) \
    X(g_type_check_instance_is_a) \
    X(g_type_fundamental) \
    X(g_closure_new_simple) \
    X(g_closure_add_finalize_notifier) \
    X(g_closure_set_marshal) \
    X(g_closure_sink) \
    X(g_signal_connect_closure) \
    X(g_value_peek_pointer) \
    X(g_value_set_boolean) \
    X(g_signal_lookup) \
    X(g_signal_query)

#define WEX_GLIB_FUNCTIONS(X) \
    X(g_list_free) \
    X(g_slist_free) \
    X(g_malloc) \
    X(g_free) \
    X(g_slist_nth_data) \
    X(g_source_remove) \
    X(g_utf8_validate)

#define WEX_PANGO_FUNCTIONS(X) \
    X(pango_font_description_free) \
    X(pango_font_description_get_set_fields) \
    X(pango_font_description_get_size) \
    X(pango_layout_get_pixel_size) \
    X(pango_layout_set_markup) \
    X(pango_layout_get_pixel_extents) \
    X(pango_layout_copy) \
    X(pango_layout_get_attributes) \
    X(pango_layout_set_attributes) \
    X(pango_attr_list_new) \
    X(pango_attr_list_copy) \
    X(pango_attr_list_insert) \
    X(pango_attr_list_unref) \
    X(pango_attr_scale_new)

#define WEX_GLAREA_FUNCTIONS(X) \
    X(gtk_gl_area_make_current) \
    X(gtk_gl_area_swap_buffers) \
    X(gtk_gl_area_get_type)

#define WEX_GLEXT_FUNCTIONS(X) \
    X(gtk_widget_set_gl_capability) \
    X(gtk_widget_get_gl_context) \
    X(gtk_widget_get_gl_window) \
    X(gdk_gl_config_new_by_mode) \
    X(gdk_gl_drawable_gl_begin) \
    X(gdk_gl_drawable_gl_end) \
    X(gdk_gl_drawable_swap_buffers)

// GooCanvas, and what reading a pixel of one takes (rendering it into a pixmap through cairo,
// reached through GooCanvas's file, which depends on GDK and cairo).
#define WEX_GOO_FUNCTIONS(X) \
    X(goo_canvas_get_root_item) \
    X(goo_canvas_set_bounds) \
    X(goo_canvas_ellipse_new) \
    X(goo_canvas_rect_new) \
    X(goo_canvas_polyline_new_line) \
    X(goo_canvas_text_new) \
    X(goo_canvas_image_new) \
    X(goo_canvas_item_get_bounds) \
    X(goo_canvas_item_translate) \
    X(goo_canvas_item_raise) \
    X(goo_canvas_render) \
    X(gdk_cairo_create) \
    X(cairo_translate) \
    X(cairo_destroy)

#define WEX_GL_FUNCTIONS(X) \
    X(glClear) \
    X(glClearColor) \
    X(glColor3ub) \
    X(glBitmap) \
    X(glEnd) \
    X(glLoadIdentity) \
    X(glMatrixMode) \
    X(glOrtho) \
    X(glRasterPos2i) \
    X(glTranslatef) \
    X(glVertex2i) \
    X(glReadPixels)

namespace wex {
#define WEX_DECLARE_POINTER(name) extern decltype(&::name) name;
#define WEX_DECLARE_LIBRARY(id, locator, probe, functions, ...) WEX_DECLARE_POINTER(probe) functions(WEX_DECLARE_POINTER)
WEX_LIBRARIES(WEX_DECLARE_LIBRARY)
#undef WEX_DECLARE_LIBRARY
#undef WEX_DECLARE_POINTER
}  // namespace wex
