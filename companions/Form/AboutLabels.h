#pragma once

// The about box's own words, the same in its Qt and its Windows build; the
// product's texts come from the record the program hands over.

inline constexpr const char* kAboutCaption = "About ";
inline constexpr const char* kHomePageLabel = "Home page: ";
inline constexpr const char* kEMailLabel = "E-mail: ";
inline constexpr const char* kInstalledInLabel = "Installed in: ";
