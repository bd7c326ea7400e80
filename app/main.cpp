#include <cstdio>

// The window and the command line come later; until then the program only
// says what it will be.
int main() {
  std::puts("miravel " MIRAVEL_VERSION
            ": share passwords and two-in-one coupon links (window and command line not built yet)");
  return 0;
}
