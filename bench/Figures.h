// The figures kelvane-bench measures, one function each; main.cpp lists them.
#pragma once

namespace kelvane::bench {

void exchange();
void discovery();
void startup();
void idle();
void statusLog();

// The window program whose start-up startup() times, run as a child.
inline constexpr const char *WindowChild = "--window-child";
int windowChild(int argc, char *argv[], long long enteredNs);
long long steadyNs();

}  // namespace kelvane::bench
