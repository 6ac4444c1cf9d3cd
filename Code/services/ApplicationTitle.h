#pragma once

namespace sonvarro {

// The application's title: task bar text and caption of every message box.
inline constexpr const char* kApplicationTitle = "Sonvarro Converter";

}  // namespace sonvarro
