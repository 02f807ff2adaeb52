// filenames.cpp: FILENAME$, the file name that one entry of a file dialog's GRAB$ stands for.
#include <optional>
#include <string>
#include <string_view>
#include <strings.h>
#include "runtime/runtime.h"
#include "wex/wex.h"

namespace wex {
namespace {
constexpr std::string_view SCHEME = "file://";

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

/* The bytes a URI path stands for: each "%XY" is the byte of hexadecimal value XY, every other
 * byte stands for itself.  A "%" without two hexadecimal digits after it is no escape, and a
 * file name holds neither a zero byte nor, inside a part of it, a slash: none of these is a name. */
std::optional<std::string> decoded(std::string_view path) {
    std::string name;
    for (size_t i = 0; i < path.size(); ++i) {
        if (path[i] != '%') {
            name += path[i];
            continue;
        }
        const int high = i + 1 < path.size() ? hex_value(path[i + 1]) : -1;
        const int low = i + 2 < path.size() ? hex_value(path[i + 2]) : -1;
        const int byte = high < 0 || low < 0 ? -1 : high * 16 + low;
        if (byte <= 0 || byte == '/') return std::nullopt;
        name += char(byte);
        i += 2;
    }
    return name;
}

// The path of an entry: up to its first blank, without "file://" (and then a local path, whose
// host part is empty); none for a URI that names a host.
std::optional<std::string_view> path_of(std::string_view entry) {
    entry = entry.substr(0, entry.find(' '));
    if (entry.size() < SCHEME.size() || strncasecmp(entry.data(), SCHEME.data(), SCHEME.size()) != 0) return entry;
    entry.remove_prefix(SCHEME.size());
    if (entry.empty() || entry.front() != '/') return std::nullopt;
    return entry;
}
}  // namespace

char* FILENAME$(const char* entry) {
    T4K_FUNCTION(FILENAME$);
    const std::optional<std::string_view> path = path_of(entry ? entry : "");
    const std::optional<std::string> name = path ? decoded(*path) : std::nullopt;
    return name ? t4k_temporary_copy(name->data(), name->size()) : t4k_temporary_copy("", 0);
}
}  // namespace wex
