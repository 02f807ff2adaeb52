// first_frame.h: what kelvado's start-up benchmark looks for on the screen, shared with its
// baseline program: a centred 800 x 600 window whose probe strip turns grid grey.
#pragma once

namespace bench {
constexpr int WINDOW_WIDTH = 800, WINDOW_HEIGHT = 600;
constexpr unsigned char GREY = 0xcc;
}  // namespace bench
