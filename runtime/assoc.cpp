// assoc.cpp: the engine shared by every associative array: key joining, add, find, delete, key lists.
#include "assoc.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "report_sites.h"
#include "strings.h"

namespace {

char default_delimiter[] = " ";

// Every kind of entry starts with its key; the 8-byte value follows.
using Entry = t4k_assoc_str;

// A key copy the heap cannot give stops the program with the assertion report, as the table
// does for its own blocks; a null copy would quietly become the empty key.
char* copy_of(const char* text, const char* operation) {
    char* copy = strdup(text);
    if (copy == nullptr) t4k_assertion_failed("copy", t4k::sites::ASSOC_UNIT, t4k::sites::ASSOC_COPY_LINE, operation);
    return copy;
}

/*
 * A key given in parts (a list closed by a null pointer) is the parts joined by one blank.
 * A one-part key is used as the caller gave it unless a copy is asked for; a joined one is a
 * heap copy that the key frees unless an entry takes it over.  No parts at all is the empty key.
 */
class JoinedKey {
public:
    JoinedKey(const char* operation, const char* first, va_list rest, bool copy = false)
        : text_(first ? first : ""), operation_(operation) {
        const char* part = first ? va_arg(rest, const char*) : nullptr;
        if (!part && !copy) return;
        std::string joined(text_);
        for (; part; part = va_arg(rest, const char*)) {
            joined += ' ';
            joined += part;
        }
        owned_ = copy_of(joined.c_str(), operation_);
        text_ = owned_;
    }
    ~JoinedKey() { free(owned_); }
    JoinedKey(const JoinedKey&) = delete;
    JoinedKey& operator=(const JoinedKey&) = delete;

    const char* text() const { return text_; }
    // A heap copy of the key for a new entry: the joined copy itself, else a fresh one.
    char* take() {
        char* copy = owned_ ? owned_ : copy_of(text_, operation_);
        owned_ = nullptr;
        return copy;
    }

private:
    const char* text_;
    const char* operation_;
    char* owned_ = nullptr;
};

template <typename T>
int three_way(T a, T b) {
    return (a > b) - (a < b);
}

}  // namespace

char* __t4k__option_delim = default_delimiter;

char* t4k_assoc_read(const t4k_assoc_str* entry) {
    return entry && entry->value ? entry->value : EmptyString;
}

// The table keeps its own copy of the key and the entry another, so that deleting an entry
// can release both without caring which one a caller still looks at.
void* t4k_assoc_add(__t4k__hashtable_t* table, int create, const char* first, va_list rest) {
    JoinedKey key(__func__, first, rest);
    void* found = __t4k__hashtable_find(table, key.text());
    if (found || create != 1) return found;
    const Entry fresh{};
    auto* entry = static_cast<Entry*>(__t4k__hashtable_insert(table, copy_of(key.text(), __func__), &fresh));
    entry->key = key.take();
    return entry;
}

void* t4k_assoc_find(__t4k__hashtable_t* table, const char* first, va_list rest) {
    JoinedKey key(__func__, first, rest);
    return __t4k__hashtable_find(table, key.text());
}

// Works on a copy of the key: the caller may name the entry by the very key text it frees.
void t4k_assoc_delete(__t4k__hashtable_t* table, bool string_values, const char* first, va_list rest) {
    JoinedKey key(__func__, first, rest, true);
    auto* entry = static_cast<Entry*>(__t4k__hashtable_find(table, key.text()));
    if (!entry) return;
    if (string_values) __t4k__free(entry->value);
    entry->value = nullptr;
    free(entry->key);
    entry->key = nullptr;
    __t4k__hashtable_remove(table, key.text());
}

// The keys in item order (creation order, changed by deletions), each entry's own key text,
// separated by the delimiter (the default one for null), as a temporary string.
char* t4k_assoc_obtain(__t4k__hashtable_t* table, const char* delim) {
    const char* separator = delim ? delim : __t4k__option_delim;
    const auto* entries = static_cast<const Entry*>(__t4k__hashtable_items(table));
    const int count = __t4k__hashtable_count(table);
    std::string list;
    for (int i = 0; i < count; ++i) {
        if (i) list += separator;
        list += entries[i].key;
    }
    return t4k_temporary_copy(list.data(), list.size());
}

int t4k_assoc_compare_int(const void* a, const void* b) {
    return three_way(static_cast<const t4k_assoc_int*>(a)->value, static_cast<const t4k_assoc_int*>(b)->value);
}

int t4k_assoc_compare_fn(const void* a, const void* b) {
    return three_way(reinterpret_cast<uintptr_t>(static_cast<const t4k_assoc_fn*>(a)->value),
                     reinterpret_cast<uintptr_t>(static_cast<const t4k_assoc_fn*>(b)->value));
}

// Null values order after every text; the descending comparator swaps the arguments, which
// puts them first.
int t4k_assoc_compare_str(const void* a, const void* b) {
    const char* text_a = static_cast<const t4k_assoc_str*>(a)->value;
    const char* text_b = static_cast<const t4k_assoc_str*>(b)->value;
    if (!text_a || !text_b) return (text_a == nullptr) - (text_b == nullptr);
    return strcmp(text_a, text_b);
}
