// A stand-in for evc.exe in the encoder tests on Windows: it prints the
// arguments it was given (each as UTF-8 in hex on an "arg=" line), then a
// status line as the encoder prints while it works, then waits a minute for
// the job to stop it.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
  for (int i = 1; i < argc; ++i) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, utf8.data(), size, nullptr, nullptr);
    utf8.pop_back();
    std::printf("arg=");
    for (unsigned char c : utf8) std::printf("%02x", c);
    std::printf("\n");
  }
  std::printf("size=     512kB time=00:00:05.00 bitrate= 838.9kbits/s\r");
  std::fflush(stdout);
  Sleep(60000);
  return 0;
}
