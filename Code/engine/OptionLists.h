#pragma once

// Filling the output type, profile and option lists, and applying the chosen
// output type and profile to the option lists.

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/Controls.h"
#include "engine/OptionControls.h"

namespace sonvarro {

// Appends every entry but the last to the selector's items, then selects the
// index that the last entry holds as a decimal number. The selector is not
// cleared first.
void FillFromTable(ISelector& selector, const std::string_view* entries, std::size_t count);

template <std::size_t N>
void FillFromTable(ISelector& selector, const std::array<std::string_view, N>& table) {
  FillFromTable(selector, table.data(), N);
}

// Appends the five presets and then the custom profile names, in order, and
// selects "Normal Quality". Position kFirstCustomProfile + i is
// customNames[i]. The selector is not cleared first.
void FillProfileList(ISelector& profile, const std::vector<std::string>& customNames);

// Fills the main window's and the Options dialog's lists with their items and
// default selections, in this order: output type, profile, aspect ratio,
// video bitrate, audio bitrate, audio channels, frame rate, sample rate,
// volume, video size. The caller loads the user settings right after it and
// then applies the profile.
void FillOptionLists(OptionControls& controls, const std::vector<std::string>& customProfileNames);

// The six selectors a profile string sets, in its order: video size, frame
// rate, video bitrate, audio bitrate, audio channels, sample rate.
std::array<ISelector*, 6> ProfileSelectors(OptionControls& controls);

// Whether the six profile selectors hold preset `preset` of the selected
// output type (a "none" piece matches any selection).
bool PresetMatches(OptionControls& controls, int preset);

// Applies the selected profile for the selected output type. First the
// enabled states of the profile list, the Options button and the video lists
// are set from the output type alone. A custom profile (position
// kFirstCustomProfile and on) then selects its entry in the custom profile
// list and calls applyCustomProfile; a preset selects its indexes in the six
// profile selectors. Selections set here raise no change events.
void ApplyProfile(OptionControls& controls, const std::function<void()>& applyCustomProfile);

}  // namespace sonvarro
