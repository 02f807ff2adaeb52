// callback_shapes_test.cpp: a program function of every accepted type, on every shape of signal
// and on the timer, is called with the object and the data, and its answer counts where the
// signal or the timer has a use for it.
#include "tests/wex/canvas_harness.h"

using namespace harness;

namespace {
// What the functions below saw, in call order.
struct Call {
    Widget widget;
    void* data;
};
std::vector<Call> calls;
int answer = 0;  // what the answering functions return

void plain() { calls.push_back({nullptr, nullptr}); }
int answers() { calls.push_back({nullptr, nullptr}); return answer; }
void with_data(void* data) { calls.push_back({nullptr, data}); }
int answers_with_data(void* data) { calls.push_back({nullptr, data}); return answer; }
void with_widget(Widget widget, void* data) { calls.push_back({widget, data}); }
int answers_with_widget(Widget widget, void* data) { calls.push_back({widget, data}); return answer; }

const wex::Callback EVERY_TYPE[] = {plain, answers, with_data, answers_with_data, with_widget, answers_with_widget};
void* const DATA = reinterpret_cast<void*>(0x7FEDCBA987654321);

class CallbackShapes : public ::testing::Test {
protected:
    static void SetUpTestSuite() { start_toolkit(); }
    void SetUp() override {
        calls.clear();
        answer = 0;
    }
    // A button press on `widget` as GDK delivers it; whether a handler stopped the emission.
    static gboolean press(Widget widget, GdkEventType type = GDK_BUTTON_PRESS) {
        GdkEvent* event = gdk_event_new(type);
        event->button.button = 1;
        gboolean stopped = FALSE;
        g_signal_emit_by_name(widget, "button-press-event", event, &stopped);
        gdk_event_free(event);
        return stopped;
    }
    // Two functions on a widget's press, the first answering; then a `repeated` press.
    static void expect_presses_answered(Widget widget, GdkEventType repeated) {
        calls.clear();
        answer = 0;
        CALLBACK(widget, answers_with_widget);
        CALLBACK(widget, with_data);
        EXPECT_FALSE(press(widget));
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_EQ(calls[0].widget, widget);
        calls.clear();
        answer = 1;
        EXPECT_TRUE(press(widget));
        EXPECT_EQ(calls.size(), 1u);
        calls.clear();
        EXPECT_FALSE(press(widget, repeated));  // GTK's own handlers get it
        EXPECT_TRUE(calls.empty());
    }
};

// Each type is called with what it takes, through CALLBACKX, on a (widget, data) signal.
TEST_F(CallbackShapes, EveryTypeGetsTheWidgetAndTheDataItTakes) {
    for (const wex::Callback& function : EVERY_TYPE) {
        Widget button = BUTTON("Go", 80, 30);
        CALLBACKX(button, function, reinterpret_cast<intptr_t>(DATA));
        gtk_button_clicked(GTK_BUTTON(button));
        ASSERT_EQ(calls.size(), 1u);
        const bool takes_widget = &function >= &EVERY_TYPE[4], takes_data = &function >= &EVERY_TYPE[2];
        EXPECT_EQ(calls[0].widget, takes_widget ? button : nullptr);
        EXPECT_EQ(calls[0].data, takes_data ? DATA : nullptr);
        calls.clear();
    }
}

// A canvas's press: nonzero stops the later functions; a repeated press reaches none of them
// and goes on.
TEST_F(CallbackShapes, AnAnswerOnAPressStopsTheLaterFunctions) {
    Widget canvas = CANVAS(50, 50);
    expect_presses_answered(canvas, GDK_2BUTTON_PRESS);
    Widget box = gtk_event_box_new();  // an external widget's press, through the same rules
    REGISTER(box, 10, 10, "button-press-event", nullptr, nullptr, nullptr, nullptr);
    expect_presses_answered(box, GDK_3BUTTON_PRESS);
}

// The signals with arguments between the object and the data.
TEST_F(CallbackShapes, ResponseFocusChildAndInsertedTextPassTheObject) {
    Widget dialog = MSGDIALOG("?", 100, 50, 0, 1);
    CALLBACKX(dialog, answers_with_widget, 7);
    gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);

    GtkWidget* box = gtk_fixed_new();  // no constructor makes a set-focus-child widget
    GtkWidget* child = gtk_button_new();
    gtk_container_add(GTK_CONTAINER(box), child);
    REGISTER(box, 10, 10, "", nullptr, nullptr, nullptr, nullptr);
    WEX_PUT(wex_widget_signal, box, 8);
    CALLBACKX(box, with_widget, 8);
    gtk_container_set_focus_child(GTK_CONTAINER(box), child);

    Widget edit = EDIT(100, 60);
    CALLBACK(edit, answers_with_widget);
    auto* buffer = WEX_GET_HANDLE(GtkTextBuffer, wex_widget_s_widget, edit);
    gtk_text_buffer_insert_at_cursor(buffer, "abc", -1);

    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].widget, dialog);
    EXPECT_EQ(calls[0].data, reinterpret_cast<void*>(7));
    EXPECT_EQ(calls[1].widget, box);
    EXPECT_EQ(calls[1].data, reinterpret_cast<void*>(8));
    EXPECT_EQ(calls[2].widget, buffer);
    EXPECT_EQ(calls[2].data, nullptr);
}

// An external widget's signal of any shape: a text buffer's "insert-text" has four arguments.
TEST_F(CallbackShapes, AnExternalSignalOfAnyShape) {
    GtkTextBuffer* buffer = gtk_text_buffer_new(nullptr);
    REGISTER(buffer, 10, 10, "insert-text", nullptr, nullptr, nullptr, nullptr);
    CALLBACKX(buffer, answers_with_widget, 3);
    gtk_text_buffer_insert_at_cursor(buffer, "abc", -1);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].widget, buffer);
    EXPECT_EQ(calls[0].data, reinterpret_cast<void*>(3));
}

// Shapes that no signal has make no Callback, so CALLBACK with them does not compile.
static_assert(std::is_constructible_v<wex::Callback, int (*)(Widget, int, void*)>);
static_assert(!std::is_constructible_v<wex::Callback, void (*)(int)>);
static_assert(!std::is_constructible_v<wex::Callback, void (*)(Widget, std::string, void*)>);
static_assert(!std::is_constructible_v<wex::Callback, double (*)(Widget, int, void*)>);
static_assert(!std::is_constructible_v<wex::Callback, void (*)(Widget, int)>);
static_assert(!std::is_constructible_v<wex::Callback, decltype([](Widget, float*) {})>);

// A function that asks for the signal's arguments gets them as the types it asks for: a dialog's
// answer, an edit's inserted text, a canvas's press, an external slider's scroll and value.
std::vector<std::string> heard;
TEST_F(CallbackShapes, AFunctionAskingForTheArgumentsGetsThem) {
    Widget dialog = MSGDIALOG("?", 100, 50, 2, 4);
    CALLBACK(dialog, [](Widget, int response, void*) { heard.push_back("answer " + std::to_string(response)); });
    for (int response : {WEX_RESPONSE_YES, WEX_RESPONSE_NO, WEX_RESPONSE_DISMISSED})
        gtk_dialog_response(GTK_DIALOG(dialog), response);
    Widget edit = EDIT(100, 60);
    CALLBACK(edit, [](Widget, void*, const char* text, int length, void*) {
        heard.push_back(std::string(text, size_t(length)));
    });
    gtk_text_buffer_insert_at_cursor(WEX_GET_HANDLE(GtkTextBuffer, wex_widget_s_widget, edit), "abc", -1);
    Widget canvas = CANVAS(50, 50);
    CALLBACK(canvas, [](Widget, GdkEventButton* event, void*) {
        heard.push_back("button " + std::to_string(event->button));
    });
    press(canvas);
    GtkWidget* slider = gtk_hscale_new_with_range(0, 10, 1);
    REGISTER(slider, 10, 10, "change-value", nullptr, nullptr, nullptr, nullptr);
    CALLBACKX(slider, [](Widget, GtkScrollType scroll, double value, void* data) {
        heard.push_back(std::to_string(scroll) + " " + std::to_string(value) + " " + std::to_string(intptr_t(data)));
        return 1;
    }, 9);
    gboolean handled = FALSE;
    g_signal_emit_by_name(slider, "change-value", GTK_SCROLL_JUMP, 2.5, &handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(heard, (std::vector<std::string>{"answer -8", "answer -9", "answer -4", "abc", "button 1",
                                               std::to_string(GTK_SCROLL_JUMP) + " 2.500000 9"}));
}

// On the timer the answer decides whether it runs again; one that returns nothing runs once.
TEST_F(CallbackShapes, TheTimerRunsAgainWhileTheAnswerIsNonzero) {
    TIMEOUT(5, with_widget);
    pump(60);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].widget, nullptr);
    EXPECT_EQ(calls[0].data, nullptr);
    answer = 1;
    TIMEOUT(5, answers_with_data);
    ASSERT_TRUE(pump_until([] { return calls.size() >= 4; }));
    answer = 0;
    pump(30);
    const size_t runs = calls.size();
    pump(30);
    EXPECT_EQ(calls.size(), runs);
    EXPECT_EQ(wex::wex_gui_properties.timer_id, -1);
}
}  // namespace
