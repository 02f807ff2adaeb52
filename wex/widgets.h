// widgets.h (internal): what the widget constructors share with the property calls.
#pragma once
#include <string_view>
#include "runtime/runtime.h"
#include "wex/bindings.h"

namespace wex {
// "changed" handler of an edit's text buffer: gives the new text the buffer's tag.
void wex_apply_tag(GtkTextBuffer* buffer);

// The columns and rows that a "TABLE" option asks for; false when it names no usable shape.
bool wex_table_shape(const char* option, int* columns, int* rows);

// A call's own runtime-string copy of a text argument, released when the call returns.
class TextCopy {
public:
    explicit TextCopy(const char* text) : text_(__t4k_Copy_String(nullptr, text)) {}
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
