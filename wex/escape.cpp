// escape.cpp: ESCAPE$, a text of the program's shown as it is where the toolkit reads markup.
#include <string>
#include <string_view>
#include "runtime/runtime.h"
#include "wex/widgets.h"

namespace wex {
namespace {
// What each character that markup reads as its own stands for.
struct Entity {
    char character;
    std::string_view reference;
};
constexpr Entity ENTITIES[] = {{'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}, {'\'', "&apos;"}};

void append_escaped(std::string& out, char c) {
    for (const Entity& e : ENTITIES)
        if (e.character == c) {
            out += e.reference;
            return;
        }
    out += c;
}
}  // namespace

std::string wex_as_utf8(const char* text) {
    constexpr std::string_view REPLACEMENT = "\xEF\xBF\xBD";
    std::string out;
    for (const gchar* end = nullptr; !g_utf8_validate(text, -1, &end); text = end + 1) {
        out.append(text, end);
        out += REPLACEMENT;
    }
    return out + text;
}

char* ESCAPE$(const char* text) {
    T4K_FUNCTION(ESCAPE$);
    std::string escaped;
    for (const char c : wex_as_utf8(text ? text : "")) append_escaped(escaped, c);
    return t4k_temporary_copy(escaped.data(), escaped.size());
}
}  // namespace wex
