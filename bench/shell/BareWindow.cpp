// A bare Qt program that links Qt Widgets alone: the baseline of the main
// program's start in kv_shell_bench.
#include "shell/BareWindow.h"

int main(int argc, char* argv[]) { return showBareWindow(argc, argv); }
