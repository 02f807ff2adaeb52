// goo_signatures.cpp: the types of the GooCanvas functions the toolkit binds, as GooCanvas 1.0's
// own headers declare them, for comparing with the toolkit's declarations (which cannot share a
// translation unit with these headers).  Empty where GooCanvas was not built.
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>
#if __has_include(<goocanvas.h>)
#include <goocanvas.h>
#define WEX_SIGNATURE(f) {#f, typeid(decltype(&::f)).name()}
#endif

std::vector<std::pair<std::string, std::string>> goo_library_signatures() {
#ifdef WEX_SIGNATURE
    return {
        WEX_SIGNATURE(goo_canvas_new),
        WEX_SIGNATURE(goo_canvas_get_root_item),
        WEX_SIGNATURE(goo_canvas_set_bounds),
        WEX_SIGNATURE(goo_canvas_ellipse_new),
        WEX_SIGNATURE(goo_canvas_rect_new),
        WEX_SIGNATURE(goo_canvas_polyline_new_line),
        WEX_SIGNATURE(goo_canvas_text_new),
        WEX_SIGNATURE(goo_canvas_image_new),
        WEX_SIGNATURE(goo_canvas_item_get_bounds),
        WEX_SIGNATURE(goo_canvas_item_translate),
        WEX_SIGNATURE(goo_canvas_item_raise),
        WEX_SIGNATURE(goo_canvas_render),
    };
#else
    return {};
#endif
}
