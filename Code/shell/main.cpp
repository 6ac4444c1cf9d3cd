#include <cstdio>

#include "services/ApplicationTitle.h"

int main() {
  std::printf("%s: the application folder is built; the windows are coming.\n",
              sonvarro::kApplicationTitle);
  return 0;
}
