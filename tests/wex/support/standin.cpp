// standin.cpp: an empty stand-in for one GUI library, exporting only the functions named at
// build time (its locator's probe and, where a test needs it, its group's functions).
extern "C" {
void WEX_STANDIN_1() {}
#ifdef WEX_STANDIN_2
void WEX_STANDIN_2() {}
#endif
#ifdef WEX_STANDIN_3
void WEX_STANDIN_3() {}
#endif
#ifdef WEX_STANDIN_4
void WEX_STANDIN_4() {}
#endif
}
