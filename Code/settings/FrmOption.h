#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "controls/Controls.h"
#include "controls/UserDialogs.h"
#include "engine/CommandLineBuilder.h"
#include "engine/OptionControls.h"
#include "services/AppFunc.h"
#include "services/CommonLib.h"
#include "settings/CustomProfiles.h"

namespace sonvarro {

// The Options dialog's controls: its window, and the option controls, which
// hold the main window's profile list as well as the dialog's eight option
// lists and cbbCustomProfile (an editable list: its text is the name that
// Save and Delete act on).
struct FrmOptionControls {
  IWindow& window;  // modeless: the main window stays usable
  OptionControls& options;
};

struct FrmOptionParts {
  std::string dataFolder;  // ends in the path separator
  TCommonLib& common;      // message boxes
  TAppFunc& appFunc;       // the log
  IUserDialogs& dialogs;   // the input box for a profile's name
};

// What the Options dialog reports to its behaviour; the profile list's
// change comes through its selector.
struct OptionsDialogEvents {
  std::function<void()> btnAddClick;
  std::function<void()> btnSaveClick;
  std::function<void()> btnDelClick;
  std::function<void()> btnApplyClick;   // OK, the default button (Enter)
  std::function<void()> btnCancelClick;  // Cancel, also Esc
  std::function<void()> FormClose;       // the title bar's close button
};

// The Options dialog's behaviour (`TfrmOption`) and the custom profile
// operations. Profiles are applied whole or not at all, every write goes
// through the INI engine's safe save (a failure is raised to the caller as
// IniFileError, the file keeping its content), and the main window's profile
// list follows every Add, Save and Delete, so that choosing a name there
// always applies the profile of that name.
class TfrmOption : public ICustomProfileInUse {
 public:
  TfrmOption(FrmOptionControls controls, FrmOptionParts parts);
  TfrmOption(const TfrmOption&) = delete;
  TfrmOption& operator=(const TfrmOption&) = delete;

  // The handlers the dialog's skin raises.
  OptionsDialogEvents Events();

  // The main window's Options command: shows the dialog, running FormShow
  // first when it was hidden.
  void Show();

  void FormShow();
  void cbbCustomProfileChange();
  void btnAddClick();
  void btnSaveClick();
  void btnDelClick();
  void btnApplyClick();   // OK
  void btnCancelClick();  // Cancel, Esc
  // Closing with the title bar's button neither restores nor rebuilds, but
  // the main window's profile list still shows what the lists hold.
  void FormClose();

  // The stored profile string of the entry selected in cbbCustomProfile;
  // empty when none is selected or nothing is stored.
  std::string ReadCustomProfile();
  // Sets the six profile selectors from the profile selected in
  // cbbCustomProfile. A stored value that is not six numbers (an empty
  // part or "none" leaves its list as it is) sets nothing and is logged;
  // when a part is not a number, the user is told which unless quiet (the
  // profile applied again for another output type was reported when chosen).
  void ApplyCustomProfile(bool quiet = false);
  // Counts the Add, asks for a name (proposing "UserProfileInfo" and the
  // count) and stores the six selectors' positions under it; the name as
  // stored, or nothing when the user cancelled or the name was refused.
  std::optional<std::string> AddCustomProfile();
  // Stores the six selectors' positions under the text of cbbCustomProfile;
  // the name as stored, or nothing when the name was refused.
  std::optional<std::string> SaveCustomProfile();
  // Removes the profile named by the text of cbbCustomProfile.
  void DeleteCustomProfile();

  // Before each item of a conversion: applies the custom profile that the
  // main window's profile list shows, by its name, so that the item is
  // converted with that profile as stored now; nothing when it shows a
  // preset.
  void ApplyMainWindowProfile() override;

 private:
  // The eight option lists, in a fixed order, for the Cancel snapshot.
  std::array<ISelector*, 8> OptionLists();
  // False (and the user told why) when the name cannot be stored.
  bool AcceptName(const std::string& name);
  // The spelling under which the name was stored.
  std::string WriteProfile(const std::string& name);
  // Both lists from the file; cbbCustomProfile on the profile just stored,
  // or on its last entry when none was.
  void RefillAfterChange(const std::optional<std::string>& stored = std::nullopt);
  // Selects in the main window's profile list the profile that the six
  // lists hold, so that the list never shows one profile while another is
  // converted: the custom profile chosen or stored in the dialog, else the
  // profile the list showed, else the output type's preset, else the first
  // custom profile of those values; no entry at all when none matches.
  void SelectProfileOfLists();
  bool CustomProfileMatches(const std::string& name);

  FrmOptionControls controls_;
  FrmOptionParts parts_;
  StoredProfileInUse profileInUse_;
  struct Snapshot {
    std::array<int, 8> positions{};
    std::string customProfile;
  } snapshot_;
  // The custom profile the user chose, added or saved since the dialog was
  // shown.
  std::optional<std::string> chosenHere_;
};

}  // namespace sonvarro
