// The widget registry: keys that keep every bit of a handle, the 24 tables INIT makes, and the
// entries REGISTER and METHOD write.
#include <gtest/gtest.h>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include "support/toolkit.h"
#include "wex/registry.h"

namespace {
std::string key_of(intptr_t value) { return wex::Key(reinterpret_cast<void*>(value)).text; }

TEST(Key, IsTheSignedDecimalOfTheWholeHandle) {
    const intptr_t values[] = {0, 1, 9, 10, 1234567, -1, -10, INTPTR_MAX, INTPTR_MIN,
                               intptr_t(0x7f12345678ab), intptr_t(0x100000000), -intptr_t(0x100000001)};
    for (intptr_t value : values) EXPECT_EQ(key_of(value), std::to_string(value)) << value;
}

class Registry : public ::testing::Test {
protected:
    static void SetUpTestSuite() { wex_test::start_toolkit(); }
    void TearDown() override { WEX_WIDGET_SHOW = 1; }
};

TEST_F(Registry, InitMakesTheTwentyFourTables) {
    const __t4k__hashtable_t* tables[] = {
        &__t4k__wex_widget_xsize_table_,         &__t4k__wex_widget_ysize_table_,
        &__t4k__wex_widget_signal_table_,        &__t4k__wex_widget_s_widget_table_,
        &__t4k__wex_winstate_table_,             &__t4k__wex_canvas_expose_table_,
        &__t4k__wex_widget_type$_table_,         &__t4k__wex_widget_attach_table_,
        &__t4k__wex_widget_font_table_,          &__t4k__wex_widget_focus_table_,
        &__t4k__wex_widget_buffer_table_,        &__t4k__wex_widget_nb_page$_table_,
        &__t4k__wex_widget_pix_table_,           &__t4k__wex_widget_context_table_,
        &__t4k__wex_widget_image_table_,         &__t4k__wex_widget_color_table_,
        &__t4k__wex_widget_ebox_table_,          &__t4k__wex_widget_comborows_table_,
        &__t4k__wex_widget_image$_table_,        &__t4k__wex_widget_external_grab_table_,
        &__t4k__wex_widget_external_text_table_, &__t4k__wex_widget_external_set_table_,
        &__t4k__wex_widget_external_get_table_,  &__t4k__wex_widget_external_signal$_table_,
    };
    for (const __t4k__hashtable_t* table : tables) {
        EXPECT_EQ(table->item_size, 16);
        EXPECT_EQ(table->slot_capacity, 32768);
        EXPECT_GE(table->item_capacity, 10240);
        EXPECT_NE(table->slots, nullptr);
    }
}

TEST_F(Registry, AnUnknownHandleReadsAsNothingAndAddsNothing) {
    void* stranger = reinterpret_cast<void*>(intptr_t(0x5eed0000beef));
    const int before = __t4k__hashtable_count(&__t4k__wex_widget_type$_table_);
    EXPECT_EQ(WEX_GET(wex_widget_xsize, stranger), 0);
    EXPECT_EQ(WEX_GET(wex_widget_attach, stranger), 0);
    EXPECT_STREQ(WEX_GET(wex_widget_type$, stranger), "");
    EXPECT_EQ(WEX_GET(wex_widget_external_get, stranger), nullptr);
    EXPECT_EQ(__t4k__hashtable_count(&__t4k__wex_widget_type$_table_), before);
}

TEST_F(Registry, RegisterMakesTheWidgetFillEveryRoleLeftOpen) {
    GtkWidget* widget = gtk_label_new("outside");
    void* const before = WIDGET;
    char signal[] = "clicked";
    REGISTER(widget, 120, 30, signal, nullptr, nullptr, nullptr, nullptr);
    std::strcpy(signal, "changed");  // the registry keeps its own copy
    EXPECT_EQ(WEX_GET(wex_widget_xsize, widget), 120);
    EXPECT_EQ(WEX_GET(wex_widget_ysize, widget), 30);
    EXPECT_EQ(WEX_GET(wex_widget_signal, widget), -1);
    EXPECT_STREQ(WEX_GET(wex_widget_external_signal$, widget), "clicked");
    EXPECT_STREQ(WEX_GET(wex_widget_type$, widget), "external");
    EXPECT_EQ(WEX_GET_HANDLE(GtkWidget, wex_widget_s_widget, widget), widget);
    EXPECT_EQ(WEX_GET_HANDLE(GtkWidget, wex_widget_attach, widget), widget);
    EXPECT_EQ(WEX_GET_HANDLE(GtkWidget, wex_widget_font, widget), widget);
    EXPECT_EQ(WEX_GET_HANDLE(GtkWidget, wex_widget_focus, widget), widget);
    EXPECT_TRUE(GTK_WIDGET_VISIBLE(widget));
    EXPECT_EQ(WIDGET, before);
}

TEST_F(Registry, RegisterKeepsTheRolesGivenAndTheLaterRegistration) {
    GtkWidget* box = gtk_hbox_new(FALSE, 0);
    GtkWidget* inner[4] = {gtk_button_new(), gtk_fixed_new(), gtk_label_new("f"), gtk_entry_new()};
    WEX_WIDGET_SHOW = 0;
    REGISTER(box, 1, 2, "show", inner[0], inner[1], inner[2], inner[3]);
    EXPECT_FALSE(GTK_WIDGET_VISIBLE(box));
    EXPECT_EQ(WEX_GET_HANDLE(GtkWidget, wex_widget_s_widget, box), inner[0]);
    EXPECT_EQ(WEX_GET_HANDLE(GtkWidget, wex_widget_attach, box), inner[1]);
    EXPECT_EQ(WEX_GET_HANDLE(GtkWidget, wex_widget_font, box), inner[2]);
    EXPECT_EQ(WEX_GET_HANDLE(GtkWidget, wex_widget_focus, box), inner[3]);

    REGISTER(box, 5, 6, "clicked", nullptr, inner[1], nullptr, nullptr);
    EXPECT_EQ(WEX_GET(wex_widget_xsize, box), 5);
    EXPECT_EQ(WEX_GET(wex_widget_ysize, box), 6);
    EXPECT_STREQ(WEX_GET(wex_widget_external_signal$, box), "clicked");
    EXPECT_EQ(WEX_GET_HANDLE(GtkWidget, wex_widget_s_widget, box), box);
    EXPECT_EQ(WEX_GET_HANDLE(GtkWidget, wex_widget_attach, box), inner[1]);
    EXPECT_EQ(WEX_GET_HANDLE(GtkWidget, wex_widget_font, box), box);
}

const char* grab(void*) { return "grabbed"; }
void text(void*, const char*) {}
int get(void*) { return 7; }
void set(void*, int) {}
int get_again(void*) { return 8; }

t4k_fn as_fn(auto* function) { return reinterpret_cast<t4k_fn>(function); }

TEST_F(Registry, MethodFillsTheTableOfItsKind) {
    GtkWidget* widget = gtk_label_new("methods");
    REGISTER(widget, 10, 10, "show", nullptr, nullptr, nullptr, nullptr);
    METHOD(widget, 1, as_fn(grab));
    METHOD(widget, 2, as_fn(text));
    METHOD(widget, 3, as_fn(get));
    METHOD(widget, 4, as_fn(set));
    EXPECT_EQ(WEX_GET(wex_widget_external_grab, widget), as_fn(grab));
    EXPECT_EQ(WEX_GET(wex_widget_external_text, widget), as_fn(text));
    EXPECT_EQ(WEX_GET(wex_widget_external_get, widget), as_fn(get));
    EXPECT_EQ(WEX_GET(wex_widget_external_set, widget), as_fn(set));
    METHOD(widget, 3, as_fn(get_again));
    EXPECT_EQ(WEX_GET(wex_widget_external_get, widget), as_fn(get_again));
}

TEST_F(Registry, MethodOfAnotherKindIsIgnored) {
    GtkWidget* widget = gtk_label_new("no methods");
    const __t4k__hashtable_t* tables[] = {
        &__t4k__wex_widget_external_grab_table_, &__t4k__wex_widget_external_text_table_,
        &__t4k__wex_widget_external_set_table_, &__t4k__wex_widget_external_get_table_};
    int counts[4];
    for (int i = 0; i < 4; ++i) counts[i] = __t4k__hashtable_count(tables[i]);
    wex_test::StdoutCapture out;
    for (int kind : {0, 5, -1, INT_MAX, INT_MIN}) METHOD(widget, kind, as_fn(get));
    EXPECT_EQ(out.text(), "");
    for (int i = 0; i < 4; ++i) EXPECT_EQ(__t4k__hashtable_count(tables[i]), counts[i]);
}
}  // namespace
