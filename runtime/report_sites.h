// report_sites.h: the unit names and line numbers that runtime error reports print.
#pragma once

/* A report names a site as "line N in 'UNIT'" (or "UNIT:N: function: Assertion ..."), and
 * those names are part of what the programs promise: people and scripts match reports by
 * them.  The numbers are therefore not this source's line numbers and must not change when
 * the code around a site moves; a new site takes a number no other site has.  Every fixed
 * site of the runtime and the toolkit is here, and nowhere else. */

// The hash table (hash.cpp): its broken preconditions and failed allocations.
namespace t4k::sites {
struct AssertSite {
    unsigned line;
    const char* function;
    const char* expression;
};
inline constexpr const char* HASH_UNIT = "vemto.hash";
inline constexpr AssertSite HASH_INIT_SLOTS{7, "__t4k__hashtable_init", "table->slots"};
inline constexpr AssertSite HASH_INIT_ITEMS{8, "__t4k__hashtable_init", "table->items_key"};
inline constexpr AssertSite HASH_EXPAND_SLOTS{17, "hashtable_internal_expand_slots", "table->slots"};
inline constexpr AssertSite HASH_EXPAND_ITEMS{21, "hashtable_internal_expand_items", "new_items_key"};
inline constexpr AssertSite HASH_INSERT_ABSENT{24, "__t4k__hashtable_insert",
                                              "hashtable_internal_find_slot( table, key) < 0"};
inline constexpr AssertSite HASH_INSERT_SLOT{27, "__t4k__hashtable_insert",
                                            "!table->slots[ slot ].key_hash && ( hash & (uint32_t) slot_mask ) "
                                            "== (uint32_t) base_slot"};
inline constexpr AssertSite HASH_INSERT_HASH{28, "__t4k__hashtable_insert", "hash"};
inline constexpr AssertSite HASH_REMOVE_PRESENT{30, "__t4k__hashtable_remove", "slot >= 0"};
inline constexpr AssertSite HASH_REMOVE_HASH{31, "__t4k__hashtable_remove", "hash"};

// The associative arrays (assoc.cpp): a key that could not be copied.
inline constexpr const char* ASSOC_UNIT = "vemto.assoc";
inline constexpr unsigned ASSOC_COPY_LINE = 21;
}  // namespace t4k::sites

// The toolkit: the "FREE" sites of its scratch blocks.
namespace wex {
inline constexpr const char* WEX_UNIT = "wex.vmt";
inline constexpr int EDIT_END_LINE = 1857;         // EDIT's end iterator
inline constexpr int EDIT_TEXT_LINE = 1294;        // TEXT on an edit
inline constexpr int EDIT_GRAB_START_LINE = 1147;  // GRAB$ on an edit
inline constexpr int EDIT_GRAB_END_LINE = 1148;
inline constexpr int EDIT_SET_LINE = 1423;         // SET on an edit
inline constexpr int APPLY_TAG_FROM_LINE = 1222;   // the tagging after an edit's change
inline constexpr int APPLY_TAG_TO_LINE = 1223;
inline constexpr int GOO_BOUNDS_LINE = 1652;       // a text's bounds on a GooCanvas
inline constexpr int KEPT_COLOUR_LINE = 113;       // the GTK painter's check of a kept colour
// The UTF-8 counting inside TEXT and the MARKUP parsing reports its errors with no line.
inline constexpr int NO_LINE = 0;
}  // namespace wex
