// toolkit_fixture.h: the toolkit started once per test program on the X server, and registry
// helpers for reading what a call left behind.
#pragma once
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include "support/toolkit.h"
#include "wex/properties.h"
#include "wex/registry.h"
#include "wex/wex.h"

// Whether the registry holds an entry of `table` for `handle` (a lookup alone cannot tell an
// absent entry from a stored 0).
#define HAS_ENTRY(table, handle) (__t4k__##table##__add_secure_(0, wex::Key(handle), nullptr) != nullptr)
#define ENTRY_HANDLE(table, handle) reinterpret_cast<void*>(WEX_GET(table, handle))

class Toolkit : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        wex_test::start_toolkit();
        WEXOPTIONS("NOSCALING");
    }
    // Lets GTK handle what the calls queued (realizing, drawing, selection traffic).
    static void settle() {
        while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
    }
    // Runs the main loop until `done` holds or about two seconds have passed.
    template <class F> static bool wait_for(F done) {
        for (int i = 0; i < 200 && !done(); ++i) {
            settle();
            g_usleep(10000);
        }
        return done();
    }
    static void set_option(char*& field, const char* value) { field = __t4k_Copy_String(field, value); }
};
